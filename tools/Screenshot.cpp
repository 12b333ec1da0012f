// Renders, for the README, the main window at its design size with three highlighted documents
// open (HTML, CSS, XML; the CSS page active), and an editor showing a highlighted page, each to
// a PNG file. Runs on the offscreen platform, so it needs no display.
#include <QPixmap>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/Application.h"
#include "app/Main.h"
#include "editor/qt/SynEditWidget.h"
#include "highlight/HighlighterConfiguration.h"
#include "highlight/SynHighlighterCSS.h"
#include "highlight/SynHighlighterHtml.h"
#include "highlight/SynHighlighterXML.h"
#include "platform/qt/QtClipboard.h"
#include "platform/RegistryFile.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtSystemServices.h"

int main(int argc, char** argv) {
  using namespace tarnwick;
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s MAIN-WINDOW.png EDITOR.png\n", argv[0]);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  char profile[] = "/tmp/tarnwick-screenshot-XXXXXX";
  if (::mkdtemp(profile) == nullptr) return 1;

  int code = 1;
  {
    TApplication application(argc, argv);
    TQtDialogs dialogs;
    TQtSystemServices system;
    TRegistryFile registry(std::string(profile) + "/tarnwick/registry.reg");
    application.SetDialogs(&dialogs);
    TQtClipboard clipboard;
    TfrmMain frmMain({dialogs, system, registry, clipboard});
    const std::pair<const char*, const char*> documents[] = {
        {"index.html",
         "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n  <title>Caf&eacute; Tarn</title>\n"
         "  <link rel=\"stylesheet\" href=\"site.css\">\n</head>\n<body>\n  <h1>Today&#8217;s menu</h1>\n</body>\n</html>\n"},
        {"site.css",
         "/* the house style */\nbody {\n  font-family: Georgia, serif;\n  margin: 0 auto;\n  max-width: 40em;\n}\n\n"
         "h1 { color: #8a2b06; font-size: 2em; }\n\na:hover {\n  text-decoration: underline;\n}\n"},
        {"feed.xml",
         "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<feed xmlns=\"http://www.w3.org/2005/Atom\">\n"
         "  <title>Caf&#233; Tarn</title>\n  <!-- one entry a day -->\n  <entry>\n    <title>Soup</title>\n"
         "    <content><![CDATA[<b>4.50</b>]]></content>\n  </entry>\n</feed>\n"},
    };
    for (const auto& [name, text] : documents) {
      std::string path = std::string(profile) + "/" + name;
      std::ofstream(path) << text;
      frmMain.CommandLineArgs.push_back(path);
    }
    frmMain.Settings.WindowMaximized = false;
    frmMain.setWindowState(Qt::WindowNoState);
    frmMain.show();
    frmMain.SetActivePage(1);
    frmMain.pcMainChange();
    frmMain.UpdateActions();
    QApplication::processEvents();
    bool saved = frmMain.grab().save(QString::fromLocal8Bit(argv[1]));

    TSynHTMLSyn html;
    TSynCssSyn css;
    TSynXMLSyn xml;
    ConfigureHighlighters(html, css, xml);
    TSynEditWidget widget(clipboard);
    widget.resize(640, 330);
    TSynEdit& editor = widget.Editor();
    TSynGutter gutter = editor.Gutter();
    gutter.Width = 17;
    gutter.ShowLineNumbers = true;
    editor.SetGutter(gutter);
    editor.SetFont({"Liberation Mono", 10, 0});
    editor.Lines().SetText(
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n  <meta charset=\"utf-8\">\n"
        "  <title>Caf&eacute; &amp; Bar</title>\n  <link rel=stylesheet href='site.css'>\n</head>\n"
        "<body>\n  <!-- the menu, updated\n       every morning -->\n  <h1 class=\"menu\">Today&#8217;s menu</h1>\n"
        "  <p>Soup &mdash; <b>4.50</b></p>\n  <customtag>unknown names show in red</customtag>\n</body>\n</html>");
    editor.SetHighlighter(&html);
    editor.SetCaretAndSelection({18, 11}, {14, 11}, {18, 11});
    widget.show();
    QApplication::processEvents();
    if (saved && widget.grab().save(QString::fromLocal8Bit(argv[2]))) code = 0;
  }
  std::filesystem::remove_all(profile);
  return code;
}
