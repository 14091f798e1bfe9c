#include "ui/printer_page.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/file_choice.h"
#include "ui/guarded.h"
#include "ui/indicator.h"
#include "ui/repaint_scheduler.h"
#include "ui/value_grid.h"

namespace vantor {

namespace {

QPushButton* button(QWidget* parent, const char* name, const char* text) {
  auto* b = new QPushButton(QString::fromLatin1(text), parent);
  b->setObjectName(QString::fromLatin1(name));
  return b;
}

QString qs(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

PrinterPage::PrinterPage(Device& device, WindowSettings& settings, QWidget* parent)
    : QWidget(parent), device_(device), settings_(settings) {
  setObjectName(QStringLiteral("PrinterPage"));
  build();
}

void PrinterPage::build() {
  LabelPrinter& printer = device_.labelPrinter;
  PrinterChannel& channel = device_.printerChannel;
  auto* top = new QHBoxLayout(this);
  top->setContentsMargins(4, 4, 4, 4);

  // Left column: the label, its uploads and the validity table.
  auto* left = new QVBoxLayout;
  auto* loadRow = new QHBoxLayout;
  auto* setPrint = button(this, "SetPrint", "Load Label");
  sendPrt_ = button(this, "SendPrt", "Send Label");
  sendPrtP_ = button(this, "SendPrtP", "Send Label P");
  loadRow->addWidget(setPrint);
  loadRow->addWidget(sendPrt_);
  loadRow->addWidget(sendPrtP_);
  left->addLayout(loadRow);

  auto* stateRow = new QHBoxLayout;
  msgPrt_ = new QLabel(this);
  msgPrt_->setObjectName(QStringLiteral("MsgPrt"));
  msgPrt_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  msgPrt_->setMinimumWidth(80);
  msgPrt_->setAlignment(Qt::AlignCenter);
  msgPrt_->setAutoFillBackground(true);
  progress_ = new QLabel(this);
  progress_->setObjectName(QStringLiteral("PrProgress"));
  stateRow->addWidget(msgPrt_);
  stateRow->addWidget(progress_, 1);
  left->addLayout(stateRow);

  auto* idRow = new QHBoxLayout;
  labelId_ = new QSpinBox(this);
  labelId_->setObjectName(QStringLiteral("LabelID"));
  labelId_->setRange(0, LabelPrinter::kLabelPositions - 1);
  labelIdProd_ = new QSpinBox(this);
  labelIdProd_->setObjectName(QStringLiteral("LabelIDProd"));
  labelIdProd_->setRange(1, 100);
  idRow->addWidget(new QLabel(QStringLiteral("POS MEM"), this));
  idRow->addWidget(labelId_);
  idRow->addWidget(new QLabel(QStringLiteral("ID Etiqueta"), this));
  idRow->addWidget(labelIdProd_);
  idRow->addStretch(1);
  left->addLayout(idRow);

  auto* getPrValid = button(this, "GetPrValid", "GetPrValid");
  left->addWidget(getPrValid);
  gridPrValid_ =
      new QTableWidget(static_cast<int>(kValidityRows), static_cast<int>(kValidityColumns), this);
  gridPrValid_->setObjectName(QStringLiteral("GridPrValid"));
  gridPrValid_->horizontalHeader()->hide();
  gridPrValid_->verticalHeader()->hide();
  gridPrValid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  gridPrValid_->horizontalHeader()->setDefaultSectionSize(44);
  gridPrValid_->verticalHeader()->setMinimumSectionSize(16);
  gridPrValid_->verticalHeader()->setDefaultSectionSize(16);
  gridPrValid_->setFixedSize(4 * 44 + 4, 9 * 16 + 4);
  left->addWidget(gridPrValid_);

  auto* memo6 = new QPlainTextEdit(this);
  memo6->setObjectName(QStringLiteral("Memo6"));
  memo6->setReadOnly(true);
  QStringList placeholders;
  for (const std::string& line : validPlaceholderLines()) placeholders << qs(line);
  memo6->setPlainText(placeholders.join(QLatin1Char('\n')));
  memo6->setMinimumHeight(80);
  left->addWidget(memo6, 1);
  top->addLayout(left);

  // Middle: the reject-label texts.
  auto* middle = new QVBoxLayout;
  auto* erRow = new QHBoxLayout;
  for (auto [name, text] : {std::pair{"GetErLb", "GetErLb"}, std::pair{"SetErLb", "SetErLb"},
                            std::pair{"SetErLbP", "SetErLb P"}}) {
    auto* b = button(this, name, text);
    erRow->addWidget(b);
    connect(b, &QPushButton::clicked, this, [this, n = std::string(name)] {
      runGuarded(this, [this, &n] {
        LabelPrinter& p = device_.labelPrinter;
        if (n == "GetErLb") p.GetErLbClick();
        if (n == "SetErLb") p.SetErLbClick();
        if (n == "SetErLbP") p.SetErLbPClick();
      });
    });
  }
  middle->addLayout(erRow);
  gridErLb_ = new ValueGrid(this);
  gridErLb_->setObjectName(QStringLiteral("GridErLb"));
  gridErLb_->setColumnCount(2);
  gridErLb_->setCellSize(40, 24);
  gridErLb_->setNames(std::vector<std::string>(LabelPrinterControls::kGridRows));
  // The reject cases name the rows 1 .. 7.
  QStringList cases{QString()};
  for (const char* name : kRejectCaseLabels) cases << QString::fromLatin1(name);
  gridErLb_->setVerticalHeaderLabels(cases);
  gridErLb_->verticalHeader()->show();
  gridErLb_->setColumnWidth(0, 40);
  gridErLb_->setColumnWidth(1, 306);
  gridErLb_->setFixedSize(
      gridErLb_->verticalHeader()->sizeHint().width() + 40 + 306 + 2 * gridErLb_->frameWidth() + 2,
      gridErLb_->fullHeight());
  gridErLb_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  middle->addWidget(gridErLb_);
  connect(gridErLb_, &ValueGrid::valueCommitted, this,
          [this](int row, int column, const QString& text) {
            if (column == 1 && row > 0 && row < static_cast<int>(LabelPrinterControls::kGridRows))
              device_.labelPrinter.controls.erLbTexts[static_cast<size_t>(row)] =
                  text.toStdString();
          });

  // The raw printer channel.
  auto* panel3 = new QGroupBox(this);
  panel3->setObjectName(QStringLiteral("Panel3"));
  auto* p3 = new QHBoxLayout(panel3);
  auto* conn = button(panel3, "Button2", "Conn");
  auto* disc = button(panel3, "PrDisc", "Desconn");
  auto* send = button(panel3, "PrSend", "Send");
  comboBox1_ = new QComboBox(panel3);
  comboBox1_->setObjectName(QStringLiteral("ComboBox1"));
  for (const char* item : kRateItems) comboBox1_->addItem(QString::fromLatin1(item));
  comboBox1_->setCurrentIndex(0);
  for (QWidget* w : {static_cast<QWidget*>(conn), static_cast<QWidget*>(disc),
                     static_cast<QWidget*>(send), static_cast<QWidget*>(comboBox1_)})
    p3->addWidget(w);
  middle->addWidget(panel3);
  auto* memo5 = new QPlainTextEdit(this);
  memo5->setObjectName(QStringLiteral("Memo5"));
  memo5_ = std::make_unique<MemoView>(memo5, kMemoLines);
  memo5->setMinimumHeight(80);
  middle->addWidget(memo5, 1);
  top->addLayout(middle, 1);

  connect(setPrint, &QPushButton::clicked, this,
          [this] { runGuarded(this, [this] { loadLabel(); }); });
  connect(sendPrt_, &QPushButton::clicked, this,
          [this, &printer] { runGuarded(this, [&printer] { printer.SendPrtClick(); }); });
  connect(sendPrtP_, &QPushButton::clicked, this,
          [this, &printer] { runGuarded(this, [&printer] { printer.SendPrtPClick(); }); });
  connect(getPrValid, &QPushButton::clicked, this,
          [this, &printer] { runGuarded(this, [&printer] { printer.GetPrValidClick(); }); });
  connect(labelId_, &QSpinBox::valueChanged, this,
          [&printer](int v) { printer.controls.labelId = v; });
  connect(labelIdProd_, &QSpinBox::valueChanged, this,
          [&printer](int v) { printer.controls.labelIdProd = v; });
  connect(comboBox1_, &QComboBox::currentIndexChanged, this,
          [&printer](int i) { printer.controls.comboBox1 = i; });
  connect(conn, &QPushButton::clicked, this, [this, &channel] {
    runGuarded(this, [this, &channel] { channel.Button2Click(device_.connection.controls.host); });
  });
  connect(disc, &QPushButton::clicked, this,
          [this, &channel] { runGuarded(this, [&channel] { channel.PrDiscClick(); }); });
  connect(send, &QPushButton::clicked, this, [this, &channel] {
    runGuarded(this,
               [this, &channel] { channel.PrSendClick(device_.labelPrinter.controls.comboBox1); });
  });
}

void PrinterPage::loadLabel() {
  if (const std::optional<std::string> path =
          chooseFile(this, settings_, FileDialogKind::Open, FileKind::Label))
    device_.labelPrinter.SetPrintClick(*path);
}

void PrinterPage::repaintAreas(uint32_t areas) {
  if (areas & bit(Area::Printer)) paint();
}

void PrinterPage::paint() {
  const LabelPrinterControls& c = device_.labelPrinter.controls;
  msgPrt_->setText(QString::fromLatin1(prtStateText(c.msgPrt)));
  paintIndicator(msgPrt_, prtStateColour(c.msgPrt));
  progress_->setText(qs(c.progress));
  sendPrt_->setEnabled(c.sendEnabled);
  sendPrtP_->setEnabled(c.sendEnabled);
  if (labelId_->value() != c.labelId) labelId_->setValue(c.labelId);
  if (labelIdProd_->value() != c.labelIdProd) labelIdProd_->setValue(c.labelIdProd);
  for (size_t r = 0; r < kValidityRows; ++r)
    for (size_t col = 0; col < kValidityColumns; ++col) {
      const QString text = QString::number(c.validity[kValidityColumns * r + col]);
      QTableWidgetItem* item = gridPrValid_->item(static_cast<int>(r), static_cast<int>(col));
      if (!item) {
        item = new QTableWidgetItem;
        gridPrValid_->setItem(static_cast<int>(r), static_cast<int>(col), item);
      }
      if (item->text() != text) item->setText(text);
    }
  gridErLb_->setNames({c.erLbValues.begin(), c.erLbValues.end()});
  for (size_t r = 1; r < LabelPrinterControls::kGridRows; ++r)
    gridErLb_->setText(static_cast<int>(r), 1, c.erLbTexts[r]);
  memo5_->paint(c.memo5);
}

}  // namespace vantor
