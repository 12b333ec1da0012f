#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/Action.h"
#include "app/Main.h"
#include "editor/qt/SynEditWidget.h"
#include "platform/RegistryFile.h"
#include "platform/test/FixedSystemServices.h"
#include "platform/test/MemoryClipboard.h"
#include "platform/test/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace tarnwick::test {

// A real main window over scripted dialogs, a fixed system, a memory clipboard and a store
// file of its own; its files live in a fresh folder.
class MainWindowFixture : public testing::Test {
 protected:
  MainWindowFixture() {
    QObject::connect(&modalTimer_, &QTimer::timeout, [this] { AnswerModal(); });
    modalTimer_.start(5);
  }

  TTempDir dir;
  TScriptedDialogs dialogs;
  TFixedSystemServices system;
  TMemoryClipboard clipboard;
  std::string storePath = dir / "config/tarnwick/registry.reg";
  TRegistryFile registry{storePath};
  std::unique_ptr<TfrmMain> window;

  // Shows the window with an empty workspace unless the test stored other settings first.
  void Start(std::vector<std::string> args = {}) {
    window = std::make_unique<TfrmMain>(TAppServices{dialogs, system, registry, clipboard});
    window->Settings.NewPageStartup = newPageStartup;
    window->Settings.WindowMaximized = false;
    window->setWindowState(Qt::WindowNoState);
    window->CommandLineArgs = std::move(args);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Idle();
  }

  // What the event loop does when it runs out of events.
  void Idle() {
    QApplication::processEvents();
    window->UpdateActions();
  }

  std::string MakeFile(const std::string& name, const std::string& bytes) {
    std::string path = dir / name;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    WriteFile(path, bytes);
    return path;
  }

  void OpenPath(const std::string& path) {
    window->OpenPending = true;
    window->PendingPath = path;
    window->Open();
    Idle();
  }

  TSynEdit& Active() { return *window->ActiveEditor(); }
  TSynEditWidget& ActiveWidget() { return *window->ActiveEditorWidget(); }
  TSynEdit& Editor(int index) { return window->EditorList.at(index)->Editor(); }

  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (int i = 0; i < window->DocumentCount(); ++i) captions.push_back(window->PageCaption(i).toStdString());
    return captions;
  }

  // A key pressed in the active editor, as the user would: shortcuts first.
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    ActiveWidget().setFocus();
    QTest::keyClick(&ActiveWidget(), static_cast<Qt::Key>(key), modifiers);
    Idle();
  }

  void Type(const std::string& text) {
    ActiveWidget().setFocus();
    QTest::keyClicks(&ActiveWidget(), QString::fromStdString(text));
    Idle();
  }

  void StoreValues(const std::vector<std::pair<std::string, std::int32_t>>& values) {
    TRegistryFile store(storePath);
    store.OpenKey(kSettingsKey, true);
    for (const auto& [name, value] : values) store.WriteInteger(name, value);
    store.CloseKey();
  }

  std::int32_t StoredInteger(const std::string& name) {
    TRegistryFile store(storePath);
    store.OpenKey(kSettingsKey, false);
    std::int32_t value = store.ReadInteger(name);
    store.CloseKey();
    return value;
  }

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const TMessageBox& box : dialogs.shown) texts.push_back(box.text);
    return texts;
  }

  // Answers the modal windows that open from now on, one function each, from inside their
  // own event loops. A window nobody answers is closed and counted.
  void WhenModal(std::function<void(QWidget&)> answer) { modalAnswers_.push_back(std::move(answer)); }

  bool newPageStartup = false;
  int unansweredModals = 0;

 private:
  void AnswerModal() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    if (modalAnswers_.empty()) {
      ++unansweredModals;
      modal->close();
      return;
    }
    auto answer = std::move(modalAnswers_.front());
    modalAnswers_.pop_front();
    answer(*modal);
  }

  QTimer modalTimer_;
  std::deque<std::function<void(QWidget&)>> modalAnswers_;
};

}  // namespace tarnwick::test
