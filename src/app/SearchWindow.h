#pragma once

#include <QDialog>

#include "editor/SynEditSearch.h"

class QCheckBox;
class QLayout;
class QLineEdit;
class QPushButton;

namespace tarnwick {

class TfrmMain;

// What the Find Text and Replace Text windows share: the text to find, the two match options,
// an action button and Cancel. Neither blocks the main window; both stay on top of it.
class TSearchWindow : public QDialog {
 public:
  TSearchWindow(TfrmMain& main, const char* name, const char* actionCaption);

  QLineEdit* edtTextToFind;
  QCheckBox* cbxCaseSen;
  QCheckBox* cbxWholeWords;
  QPushButton* btnAction;
  QPushButton* btnCancel;

 protected:
  void showEvent(QShowEvent* event) override;
  // False, after telling the user, when there is nothing to find.
  bool HasTextToFind();
  // The two buttons, for the window's last row.
  QLayout* buttonRow_;
  // The match options the two check boxes give.
  TSynSearchOptions MatchOptions() const;

  TfrmMain& main_;
};

}  // namespace tarnwick
