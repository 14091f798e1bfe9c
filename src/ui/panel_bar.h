#pragma once
// A status bar of fixed-width text panels (StatusBar at the top, ErrorBar at
// the bottom of the main window). The last panel takes the rest of the width.
// A click anywhere on the bar emits clicked().
#include <QFrame>
#include <QString>
#include <initializer_list>
#include <vector>

class QLabel;

namespace vantor {

class PanelBar : public QFrame {
  Q_OBJECT
 public:
  explicit PanelBar(QWidget* parent = nullptr);

  // Widths in pixels of the design font (8 pt, 13 px line); scaled to the
  // font in use so that the texts the design width was made for still fit.
  void setPanels(std::initializer_list<int> designWidths);
  void setText(int panel, const QString& text);
  QString text(int panel) const;
  int count() const { return static_cast<int>(panels_.size()); }
  QLabel* panel(int index) const { return panels_.at(static_cast<size_t>(index)); }

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  std::vector<QLabel*> panels_;
};

}  // namespace vantor
