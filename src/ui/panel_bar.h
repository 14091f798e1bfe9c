#pragma once
// A status bar of text panels (StatusBar at the top, ErrorBar at the bottom of
// the main window). Each panel but the last has its design width; the last
// takes the rest. On a window narrower than the design the panels give up
// width in proportion, down to kLeastShare of it; a text cut short is read
// in full in the panel's tooltip. A click anywhere on the bar emits clicked().
#include <QFrame>
#include <QString>
#include <initializer_list>
#include <vector>

class QLabel;

namespace vantor {

class PanelBar : public QFrame {
  Q_OBJECT
 public:
  static constexpr double kLeastShare = 0.6;

  explicit PanelBar(QWidget* parent = nullptr);

  // Widths in pixels of the design font (8 pt, 13 px line); scaled to the
  // font in use so that the texts the design width was made for still fit.
  void setPanels(std::initializer_list<int> designWidths);
  void setText(int panel, const QString& text);
  QString text(int panel) const;
  int count() const { return static_cast<int>(panels_.size()); }
  QLabel* panel(int index) const { return panels_.at(static_cast<size_t>(index)); }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  int designTotal() const;  // all widths at the font in use, with the gaps
  void placePanels();

  std::vector<QLabel*> panels_;
  std::vector<int> widths_;  // the design widths at the font in use
};

}  // namespace vantor
