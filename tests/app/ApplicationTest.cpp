#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>

#include <stdexcept>

#include "app/Application.h"
#include "platform/RegistryStore.h"
#include "platform/test/ScriptedDialogs.h"

namespace tarnwick {
namespace {

class TThrowingObject : public QObject {
 public:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::User) throw ERegistryException("Failed to set data for 'Font'", "disk full");
    if (event->type() == QEvent::User + 1) throw std::runtime_error("something broke");
    return QObject::event(event);
  }
};

TEST(Application, AnUncaughtErrorIsShownAndTheProgramGoesOn) {
  auto* application = static_cast<TApplication*>(QCoreApplication::instance());
  TScriptedDialogs dialogs;
  application->SetDialogs(&dialogs);
  TThrowingObject object;
  QEvent first(QEvent::User), second(static_cast<QEvent::Type>(QEvent::User + 1));
  QCoreApplication::sendEvent(&object, &first);
  QCoreApplication::sendEvent(&object, &second);
  application->SetDialogs(nullptr);

  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[0].caption, "Tarnwick");
  EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtError);
  EXPECT_EQ(dialogs.shown[0].text, "Failed to set data for 'Font'");
  EXPECT_EQ(dialogs.shown[0].details, "disk full");
  EXPECT_EQ(dialogs.shown[1].text, "something broke");
}

}  // namespace
}  // namespace tarnwick
