#pragma once

#include <QDialog>

namespace tarnwick {

// The About window: the program's picture, name, version and release date.
class TfrmAbout : public QDialog {
 public:
  explicit TfrmAbout(QWidget* parent);
};

extern const char* const kVersionLine;

}  // namespace tarnwick
