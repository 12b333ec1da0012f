#pragma once

namespace tarnwick {

class TSynCssSyn;
class TSynHTMLSyn;
class TSynXMLSyn;

// The values the main window gives its highlighters after creating them; no change is sent
// until all are applied.
void ConfigureHighlighters(TSynHTMLSyn& html, TSynCssSyn& css, TSynXMLSyn& xml);

}  // namespace tarnwick
