// The main window on a small screen of 1024 x 600 pixels: at every access
// level it fits with room for a title bar, nothing overlaps at its minimum
// size, a page larger than its area scrolls instead of being cut, and the
// window comes back where and as large as it was at the end of the last run.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QFile>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/data_dir.h"
#include "fakes.h"
#include "ui/guarded.h"
#include "ui/tqxvantor.h"
#include "ui/window_settings.h"
#include "window_fixture.h"

using namespace vantor;
using vantor::test::FakeSeams;
using vantor::test::WindowFixture;

namespace {

constexpr QSize kScreen(1024, 600);
constexpr int kTitleBar = 40;  // what a window manager takes above the window

QString where(const QWidget* w) {
  QStringList path;
  for (; w; w = w->parentWidget())
    if (!w->objectName().isEmpty()) path.prepend(w->objectName());
  return path.join('/');
}

// The widgets a layout places, its nested layouts' included.
void placedBy(QLayout* layout, QList<QWidget*>& out) {
  for (int i = 0; i < layout->count(); ++i) {
    QLayoutItem* item = layout->itemAt(i);
    if (QWidget* w = item->widget(); w && !w->isHidden()) out << w;
    if (QLayout* inner = item->layout()) placedBy(inner, out);
  }
}

}  // namespace

class TestWindowFit : public QObject, public WindowFixture {
  Q_OBJECT

 private:
  void open() {
    seams_ = std::make_unique<FakeSeams>();
    openWindow();
  }
  void setLevel(int level) {
    w_->device().access.setLevel(static_cast<uint8_t>(level));
    w_->device().access.apply();
    w_->repaintNow();
    QCoreApplication::processEvents();
  }
  // Every widget a layout under `root` places lies inside its parent and
  // apart from the others of that layout.
  void nothingOverlapsUnder(QWidget* root) {
    QList<QWidget*> holders = root->findChildren<QWidget*>();
    holders.prepend(root);
    for (QWidget* holder : holders) {
      if (!holder->isVisible() || !holder->layout()) continue;
      QList<QWidget*> placed;
      placedBy(holder->layout(), placed);
      for (qsizetype i = 0; i < placed.size(); ++i) {
        const QRect a = placed[i]->geometry();
        QVERIFY2(holder->rect().contains(a), qPrintable(where(placed[i]) + " sticks out"));
        for (qsizetype j = i + 1; j < placed.size(); ++j)
          QVERIFY2(!a.intersects(placed[j]->geometry()),
                   qPrintable(where(placed[i]) + " overlaps " + where(placed[j])));
      }
    }
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    setErrorPresenter(
        [](QWidget*, const QString& text) { QFAIL(qPrintable("unexpected message: " + text)); });
  }
  void cleanup() {
    w_.reset();
    seams_.reset();
    dir_.reset();
  }

  void theScreenIsTheSmallOne() {
    QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry().size(), kScreen);
  }

  // Opens the window at `level`, shrinks it to its minimum size and hands each
  // page it shows to `check`, stopping at the first failure.
  void onEveryPageAtTheMinimumSize(int level, const std::function<void(QWidget* page)>& check) {
    open();
    setLevel(level);
    w_->resize(w_->minimumSize().expandedTo(w_->minimumSizeHint()));
    QTabWidget* pages = w_->pages();
    for (int i = 0; i < pages->count(); ++i) {
      if (!pages->isTabVisible(i)) continue;
      pages->setCurrentIndex(i);
      QCoreApplication::processEvents();
      check(pages->widget(i));
      if (QTest::currentTestFailed()) return;
    }
  }

  void levels_data() {
    QTest::addColumn<int>("level");
    for (int level = 0; level <= 4; ++level) QTest::addRow("level %d", level) << level;
  }

  void fitsTheScreenAtEveryLevel_data() { levels_data(); }
  void fitsTheScreenAtEveryLevel() {
    QFETCH(int, level);
    open();
    setLevel(level);
    const QSize least = w_->minimumSize().expandedTo(w_->minimumSizeHint());
    QVERIFY2(least.width() <= kScreen.width() && least.height() <= kScreen.height() - kTitleBar,
             qPrintable(QStringLiteral("needs %1 x %2").arg(least.width()).arg(least.height())));
    QVERIFY2(QRect(QPoint(0, 0), kScreen).contains(w_->frameGeometry()),
             qPrintable(QStringLiteral("placed at %1,%2 %3 x %4")
                            .arg(w_->frameGeometry().x())
                            .arg(w_->frameGeometry().y())
                            .arg(w_->frameGeometry().width())
                            .arg(w_->frameGeometry().height())));
  }

  // At the minimum size, on every page and at every level.
  void nothingOverlapsAtTheMinimumSize_data() { levels_data(); }
  void nothingOverlapsAtTheMinimumSize() {
    QFETCH(int, level);
    onEveryPageAtTheMinimumSize(level, [&](QWidget*) { nothingOverlapsUnder(w_.get()); });
  }

  // Every control of a page can be reached: it lies inside the page, or
  // inside the content of a scroll area that scrolls over all of it.
  void pagesScrollInsteadOfBeingCut_data() { levels_data(); }
  void pagesScrollInsteadOfBeingCut() {
    QFETCH(int, level);
    onEveryPageAtTheMinimumSize(level, [&](QWidget* page) {
      for (QWidget* control : page->findChildren<QWidget*>()) {
        if (!control->isVisible() || control->isWindow()) continue;
        if (auto* s = qobject_cast<QScrollArea*>(control->parentWidget()->parentWidget());
            s && s->widget() == control)
          continue;  // the content of a scroll area, larger than it when it scrolls
        QScrollArea* scroll = nullptr;
        for (QWidget* up = control->parentWidget(); up && up != page && !scroll;
             up = up->parentWidget())
          if (auto* s = qobject_cast<QScrollArea*>(up);
              s && s->widget() && s->widget()->isAncestorOf(control))
            scroll = s;
        QWidget* frame = scroll ? scroll->widget() : page;
        const QRect at(control->mapTo(frame, QPoint(0, 0)), control->size());
        QVERIFY2(frame->rect().contains(at), qPrintable(where(control) + " is cut"));
        if (!scroll) continue;
        // The content is never squeezed below its own minimum, and the
        // scroll bars reach every part of it.
        QWidget* content = scroll->widget();
        QVERIFY2(content->width() >= content->minimumSizeHint().width() &&
                     content->height() >= content->minimumSizeHint().height(),
                 qPrintable(where(content) + " is squeezed"));
        const QSize over = content->size() - scroll->viewport()->size();
        QVERIFY(scroll->horizontalScrollBar()->maximum() >= over.width());
        QVERIFY(scroll->verticalScrollBar()->maximum() >= over.height());
      }
    });
  }

  void theGeometryIsKeptBetweenRuns() {
    open();
    const QSize least = w_->minimumSize().expandedTo(w_->minimumSizeHint());
    const QRect first = w_->geometry();
    QVERIFY(QRect(QPoint(0, 0), kScreen).contains(w_->frameGeometry()));

    const QRect chosen(QPoint(11, kTitleBar + 3), least + QSize(7, 5));  // room for its title bar
    w_->setGeometry(chosen);
    QCoreApplication::processEvents();
    QCOMPARE(w_->geometry(), chosen);
    w_.reset();
    QVERIFY(!WindowSettings(dir_->path()).geometry().isEmpty());
    open();
    QCOMPARE(w_->geometry(), chosen);
    QVERIFY(first != chosen);
  }
};

int main(int argc, char** argv) {
  // The offscreen platform with one screen of 1024 x 600 pixels.
  QTemporaryDir dir;
  const QString config = dir.filePath(QStringLiteral("screen.json"));
  QFile file(config);
  if (!file.open(QIODevice::WriteOnly)) return 1;
  file.write(
      QStringLiteral("{\"screens\": [{\"name\": \"small\", \"x\": 0, \"y\": 0, \"width\": %1, "
                     "\"height\": %2, \"logicalDpi\": 96, \"logicalBaseDpi\": 96, "
                     "\"dpr\": 1}]}")
          .arg(kScreen.width())
          .arg(kScreen.height())
          .toUtf8());
  file.close();
  qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
  QApplication app(argc, argv);
  TestWindowFit test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_window_fit.moc"
