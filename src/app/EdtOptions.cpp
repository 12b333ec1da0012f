#include "app/EdtOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <algorithm>
#include <cctype>

#include "app/DialogLook.h"
#include "app/Main.h"
#include "app/Misc.h"
#include "app/UpDown.h"
#include "editor/qt/SynEditWidget.h"
#include "platform/SystemServices.h"

namespace tarnwick {

namespace {

// A section heading: its caption followed by a line to the window's edge.
QLayout* Heading(QWidget* parent, const char* caption) {
  auto* row = new QHBoxLayout;
  auto* label = new QLabel(caption, parent);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  row->addWidget(label);
  row->addWidget(line, 1);
  return row;
}

QLineEdit* NumberBox(QWidget* parent, const char* name, int width, bool digitsOnly) {
  auto* box = NamedControl<QLineEdit>(name, parent);
  box->setFixedWidth(width);
  // Any other typed character is discarded.
  if (digitsOnly) box->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), box));
  return box;
}

// The options of one section, indented under its heading; a number row is its label, its box
// and the box's arrows.
QGridLayout* SectionGrid() {
  auto* grid = new QGridLayout;
  grid->setContentsMargins(12, 0, 0, 0);
  return grid;
}

void AddNumberRow(QGridLayout* grid, int row, QLabel* label, QLineEdit* box, TUpDown* arrows) {
  label->setBuddy(box);
  grid->addWidget(label, row, 0);
  grid->addWidget(box, row, 1);
  grid->addWidget(arrows, row, 2);
  grid->setColumnStretch(3, 1);
}

bool NameLess(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
    return std::tolower(x) < std::tolower(y);
  });
}

}  // namespace

TfrmEdtOptions::TfrmEdtOptions(TfrmMain& main) : QDialog(&main), main_(main) {
  setObjectName("frmEdtOptions");
  auto check = [this](const char* name, const char* caption) { return NamedControl<QCheckBox>(name, caption, this); };
  auto arrows = [this](QLineEdit* box, const char* name) { return NamedControl<TUpDown>(name, *box, this); };
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(8, 6, 8, 6);
  column->setSpacing(3);

  column->addLayout(Heading(this, "Tabs"));
  chbUseTabChar = check("chbUseTabChar", "Use tab character");
  chbSmartTabs = check("chbSmartTabs", "Smart tab");
  edtTabWidth = NumberBox(this, "edtTabWidth", 38, true);
  udTabWidth = arrows(edtTabWidth, "udTabWidth");
  QGridLayout* tabs = SectionGrid();
  tabs->addWidget(chbUseTabChar, 0, 0, 1, 4);
  tabs->addWidget(chbSmartTabs, 1, 0, 1, 4);
  AddNumberRow(tabs, 2, new QLabel("Tab width:", this), edtTabWidth, udTabWidth);
  column->addLayout(tabs);

  column->addLayout(Heading(this, "Font"));
  auto* fontLabel = new QLabel("Editor font:", this);
  fcbEditorFont = NamedControl<QComboBox>("fcbEditorFont", this);
  fcbEditorFont->setFixedWidth(169);
  fontLabel->setBuddy(fcbEditorFont);
  std::vector<std::string> fonts = main_.System().InstalledFonts();
  std::sort(fonts.begin(), fonts.end(), NameLess);
  for (const std::string& font : fonts) fcbEditorFont->addItem(QString::fromStdString(font));
  edtFontSize = NumberBox(this, "edtFontSize", 29, false);
  udFontSize = arrows(edtFontSize, "udFontSize");
  QGridLayout* font = SectionGrid();
  font->addWidget(fontLabel, 0, 0, 1, 4);
  font->addWidget(fcbEditorFont, 1, 0, 1, 4);
  AddNumberRow(font, 2, new QLabel("Size:", this), edtFontSize, udFontSize);
  column->addLayout(font);

  column->addLayout(Heading(this, "Other"));
  chbVisRightMar = check("chbVisRightMar", "Visible right margin");
  connect(chbVisRightMar, &QCheckBox::clicked, this, &TfrmEdtOptions::VisRightMarClick);
  lblRightMarginPos = NamedControl<QLabel>("lblRightMarginPos", "Position:", this);
  edtRightMarWidth = NumberBox(this, "edtRightMarWidth", 30, true);
  udRightMarWidth = arrows(edtRightMarWidth, "udRightMarWidth");
  lblRightMarginPos->setBuddy(edtRightMarWidth);
  chbAutoIndent = check("chbAutoIndent", "Auto indent mode");
  cbxHalfPageScroll = check("cbxHalfPageScroll", "Half page scroll");
  QGridLayout* other = SectionGrid();
  other->addWidget(chbVisRightMar, 0, 0);
  other->addWidget(lblRightMarginPos, 0, 1);
  other->addWidget(edtRightMarWidth, 0, 2);
  other->addWidget(udRightMarWidth, 0, 3);
  other->addWidget(chbAutoIndent, 1, 0, 1, 4);
  other->addWidget(cbxHalfPageScroll, 2, 0, 1, 4);
  other->setColumnStretch(4, 1);
  column->addLayout(other);
  column->addStretch();

  column->addLayout(ButtonRow(*this, "OK", btnOK, btnCancel));
  connect(btnOK, &QPushButton::clicked, this, &TfrmEdtOptions::OKClick);

  // Tab order as the controls are listed.
  QWidget* order[] = {chbUseTabChar,    chbSmartTabs,  edtTabWidth,       fcbEditorFont, edtFontSize, chbVisRightMar,
                      edtRightMarWidth, chbAutoIndent, cbxHalfPageScroll, btnOK,         btnCancel};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  SetDialogLook(*this, "Editor Options", QSize(245, 253));
}

void TfrmEdtOptions::showEvent(QShowEvent* event) {
  CentreOnScreen(*this);
  const TSettings& settings = main_.Settings;
  chbAutoIndent->setChecked(settings.AutoIndent);
  chbSmartTabs->setChecked(settings.SmartTabs);
  chbUseTabChar->setChecked(settings.UseTabChar);
  chbVisRightMar->setChecked(settings.VisRightMar);
  edtRightMarWidth->setText(QString::number(settings.RightMarWidth));
  edtTabWidth->setText(QString::number(settings.TabWidth));
  edtFontSize->setText(QString::number(settings.FontSize));
  fcbEditorFont->setCurrentIndex(fcbEditorFont->findText(QString::fromStdString(settings.Font)));
  cbxHalfPageScroll->setChecked(settings.HalfPageScroll);
  VisRightMarClick();
  QDialog::showEvent(event);
  chbUseTabChar->setFocus();
}

void TfrmEdtOptions::VisRightMarClick() {
  bool visible = chbVisRightMar->isChecked();
  for (QWidget* control : {static_cast<QWidget*>(lblRightMarginPos), static_cast<QWidget*>(edtRightMarWidth),
                           static_cast<QWidget*>(udRightMarWidth)})
    control->setEnabled(visible);
}

void TfrmEdtOptions::OKClick() {
  // Every number is read before anything is assigned, so a bad box leaves the settings as
  // they were.
  int numbers[3] = {};
  QLineEdit* boxes[3] = {edtRightMarWidth, edtTabWidth, edtFontSize};
  for (int i = 0; i < 3; ++i) {
    std::string text = boxes[i]->text().toStdString();
    if (!TryStrToInt(text, numbers[i])) {
      main_.Dialogs().MessageDlg("'" + text + "' is not a valid integer value", TMsgDlgType::mtError, mbOK);
      boxes[i]->setFocus();
      return;
    }
  }
  TSettings& settings = main_.Settings;
  settings.AutoIndent = chbAutoIndent->isChecked();
  settings.SmartTabs = chbSmartTabs->isChecked();
  settings.UseTabChar = chbUseTabChar->isChecked();
  settings.VisRightMar = chbVisRightMar->isChecked();
  settings.RightMarWidth = numbers[0];
  settings.TabWidth = numbers[1];
  // With no installed font chosen, the font stays what it was.
  if (fcbEditorFont->currentIndex() >= 0) settings.Font = fcbEditorFont->currentText().toStdString();
  settings.FontSize = numbers[2];
  settings.HalfPageScroll = cbxHalfPageScroll->isChecked();
  main_.SaveSettingsReporting();
  for (TSynEditWidget* editor : main_.EditorList) main_.ApplyEditorSettings(editor->Editor());
  accept();
}

}  // namespace tarnwick
