#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "app/EdtOptions.h"
#include "app/GenOptions.h"
#include "app/MainWindowFixture.h"
#include "app/UpDown.h"

namespace tarnwick {
namespace {

class OptionsTest : public test::MainWindowFixture {
 protected:
  OptionsTest() { system.fonts = {"Liberation Mono", "DejaVu Sans Mono", "courier 10 Pitch", "Bitstream Charter"}; }

  // Shows Editor Options, lets change() work on it while it is open, then presses OK.
  void EditorOptions(const std::function<void(TfrmEdtOptions&)>& change) {
    WhenModal([&](QWidget&) {
      TfrmEdtOptions& options = *window->frmEdtOptions;
      change(options);
      options.btnOK->click();
      if (options.isVisible()) options.btnCancel->click();
    });
    window->actEdtOptions->trigger();
    Idle();
  }

  void GeneralOptions(const std::function<void(TfrmGenOptions&)>& change) {
    WhenModal([&](QWidget&) {
      TfrmGenOptions& options = *window->frmGenOptions;
      change(options);
      options.btnOK->click();
    });
    window->actGeneralOptions->trigger();
    Idle();
  }
};

TEST_F(OptionsTest, EditorOptionsShowTheSettingsAndApplyThemToEveryOpenEditor) {
  Start();
  window->Settings.Font = "Liberation Mono";
  window->Settings.VisRightMar = true;
  window->Settings.RightMarWidth = 80;
  window->Settings.UseTabChar = false;
  window->New();
  window->New();
  EditorOptions([&](TfrmEdtOptions& options) {
    EXPECT_EQ(options.windowTitle(), "Editor Options");
    QStringList fonts;
    for (int i = 0; i < options.fcbEditorFont->count(); ++i) fonts << options.fcbEditorFont->itemText(i);
    EXPECT_EQ(fonts, QStringList({"Bitstream Charter", "courier 10 Pitch", "DejaVu Sans Mono", "Liberation Mono"}));
    EXPECT_EQ(options.fcbEditorFont->currentText(), "Liberation Mono");
    EXPECT_EQ(options.edtRightMarWidth->text(), "80");
    EXPECT_TRUE(options.edtRightMarWidth->isEnabled());
    EXPECT_EQ(options.focusWidget(), options.chbUseTabChar);
    // Unticking the margin disables its position and arrows.
    options.chbVisRightMar->click();
    EXPECT_FALSE(options.lblRightMarginPos->isEnabled());
    EXPECT_FALSE(options.edtRightMarWidth->isEnabled());
    EXPECT_FALSE(options.udRightMarWidth->isEnabled());
    options.chbUseTabChar->setChecked(true);
    options.fcbEditorFont->setCurrentText("DejaVu Sans Mono");
    options.edtFontSize->setText("13");
    options.edtTabWidth->setText("3");
  });
  EXPECT_FALSE(window->frmEdtOptions->isVisible());
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(Editor(i).RightEdge, 0) << i;
    EXPECT_FALSE(Editor(i).Options() & eoTabsToSpaces) << i;
    EXPECT_EQ(Editor(i).Font(), (TFontSpec{"DejaVu Sans Mono", 13, 0})) << i;
    EXPECT_EQ(Editor(i).TabWidth(), 3) << i;
  }
  EXPECT_EQ(window->Settings.RightMarWidth, 80) << "the position stays for later";
  EXPECT_EQ(StoredInteger("FontSize"), 13) << "OK stores the settings";
  window->New();
  EXPECT_EQ(Active().Font(), (TFontSpec{"DejaVu Sans Mono", 13, 0})) << "and later pages follow";
}

TEST_F(OptionsTest, TheArrowsStepWithinTheirRangeButTypedNumbersAreNot) {
  Start();
  window->New();
  EditorOptions([&](TfrmEdtOptions& options) {
    options.chbVisRightMar->setChecked(true);
    options.VisRightMarClick();
    options.edtRightMarWidth->setText("100");
    options.udRightMarWidth->Up()->click();
    EXPECT_EQ(options.edtRightMarWidth->text(), "100");
    options.edtTabWidth->setText("0");
    options.udTabWidth->Down()->click();
    EXPECT_EQ(options.edtTabWidth->text(), "0");
    options.udTabWidth->Up()->click();
    EXPECT_EQ(options.edtTabWidth->text(), "1");
    // Digits only: other typed characters are discarded; the font size takes anything.
    options.edtRightMarWidth->clear();
    QTest::keyClicks(options.edtRightMarWidth, "1a2-0");
    EXPECT_EQ(options.edtRightMarWidth->text(), "120");
    options.edtFontSize->clear();
    QTest::keyClicks(options.edtFontSize, "1a");
    EXPECT_EQ(options.edtFontSize->text(), "1a");
    options.edtFontSize->setText("11");
  });
  EXPECT_EQ(Active().RightEdge, 120) << "a typed number is not held to the arrows' range";
  EXPECT_EQ(Active().TabWidth(), 1);
}

TEST_F(OptionsTest, ABadNumberChangesNothing) {
  Start();
  window->New();
  TSettings before = window->Settings;
  EditorOptions([&](TfrmEdtOptions& options) {
    options.chbAutoIndent->setChecked(!before.AutoIndent);
    options.edtTabWidth->setText("4");
    options.edtFontSize->setText("twelve");
  });
  EXPECT_EQ(Texts(), std::vector<std::string>{"'twelve' is not a valid integer value"});
  EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtError);
  EXPECT_EQ(window->Settings, before) << "not even the values before the bad box";
  EXPECT_EQ(Active().TabWidth(), before.TabWidth);

  dialogs.shown.clear();
  EditorOptions([&](TfrmEdtOptions& options) { options.edtRightMarWidth->clear(); });
  EXPECT_EQ(Texts(), std::vector<std::string>{"'' is not a valid integer value"});
  EXPECT_EQ(window->Settings, before);
}

TEST_F(OptionsTest, CancelKeepsTheSettingsAndTheNextShowingReloadsThem) {
  Start();
  WhenModal([&](QWidget&) {
    window->frmEdtOptions->edtTabWidth->setText("9");
    window->frmEdtOptions->btnCancel->click();
  });
  window->actEdtOptions->trigger();
  EXPECT_EQ(window->Settings.TabWidth, 2);
  EditorOptions([&](TfrmEdtOptions& options) { EXPECT_EQ(options.edtTabWidth->text(), "2"); });
}

TEST_F(OptionsTest, GeneralOptionsStoreEveryChoiceAndSwitchTheKeepAliveTimerAtOnce) {
  Start();
  ASSERT_TRUE(window->tmrKeepAlive->isActive());
  std::string chosen = MakeFile("templates/page.html", "<p>\n");
  GeneralOptions([&](TfrmGenOptions& options) {
    EXPECT_EQ(options.windowTitle(), "General Options");
    EXPECT_TRUE(options.chbFTPKeepAlive->isChecked());
    EXPECT_EQ(options.edtStartupTemplate->text().toStdString(), window->Settings.StartupTemplate);
    dialogs.ChooseFiles({chosen});
    options.sbStartupTemplateBrowse->click();
    options.chbFTPKeepAlive->setChecked(false);
    options.chbUploadOnSave->setChecked(true);
    options.chbNewPageStartup->setChecked(false);
    options.chbRetainSize->setChecked(true);
    options.chbWrapPrinting->setChecked(true);
  });
  ASSERT_EQ(dialogs.fileDialogsShown.size(), 1u);
  const TFileDialog& browse = dialogs.fileDialogsShown[0];
  ASSERT_EQ(browse.filters.size(), 1u);
  EXPECT_EQ(browse.filters[0].label, "All Files (*.*)");
  EXPECT_EQ(browse.folder, "/");
  EXPECT_FALSE(browse.allowMultiSelect);
  EXPECT_FALSE(window->tmrKeepAlive->isActive());
  const TSettings& settings = window->Settings;
  EXPECT_EQ(settings.StartupTemplate, chosen);
  EXPECT_FALSE(settings.FTPKeepAlive);
  EXPECT_TRUE(settings.UploadOnSave && settings.RetainSize && settings.WrapPrinting);
  EXPECT_FALSE(settings.NewPageStartup);
  EXPECT_EQ(StoredInteger("FTPKeepAlive"), 0);
  window->New();
  EXPECT_EQ(Active().Text(), "<p>");

  // An empty template is stored as it is, and new pages start empty.
  GeneralOptions([](TfrmGenOptions& options) { options.edtStartupTemplate->clear(); });
  EXPECT_EQ(window->Settings.StartupTemplate, "");
  window->New();
  EXPECT_EQ(Active().Text(), "");
}

}  // namespace
}  // namespace tarnwick
