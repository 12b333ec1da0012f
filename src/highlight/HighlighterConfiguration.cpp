#include "highlight/HighlighterConfiguration.h"

#include "highlight/SynHighlighterCSS.h"
#include "highlight/SynHighlighterHtml.h"
#include "highlight/SynHighlighterXML.h"

namespace tarnwick {

void ConfigureHighlighters(TSynHTMLSyn& html, TSynCssSyn& css, TSynXMLSyn& xml) {
  constexpr TColor clGreen = RGB(0x00, 0x80, 0x00);
  html.BeginConfiguration();
  html.AndAttri->SetForeground(clGreen);
  html.CommentAttri->SetForeground(clGreen);
  html.CommentAttri->SetStyle(fsItalic);
  html.ValueAttri->SetForeground(15618048);  // #0050EE
  html.SetDefaultFilter("HTML Document (*.htm,*.html)|*.htm;*.html");
  html.EndConfiguration();

  css.BeginConfiguration();
  css.EndConfiguration();

  xml.BeginConfiguration();
  xml.SetDefaultFilter("XML Files (*.xml;*.xsd;*.xsl;*.xslt;*.dtd)|*.xml;*.xsd;*.xsl;*.xslt;*.dtd");
  xml.WantBracesParsed = false;
  xml.EndConfiguration();
}

}  // namespace tarnwick
