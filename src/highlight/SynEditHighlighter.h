#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "highlight/SynCharSet.h"
#include "platform/Colors.h"

namespace tarnwick {

// A highlighter's scan state at the end of a line: opaque and compared for equality.
using TSynRange = std::intptr_t;

class TSynHighlighterAttributes;
class TSynCustomHighlighter;

// Who changed: an attribute, a highlighter, or nobody in particular (both null).
struct TSynChangeSender {
  const TSynHighlighterAttributes* attribute = nullptr;
  const TSynCustomHighlighter* highlighter = nullptr;
};

// How one kind of token looks.
class TSynHighlighterAttributes {
 public:
  explicit TSynHighlighterAttributes(std::string storageName) : storageName_(std::move(storageName)) {}

  const std::string& StorageName() const { return storageName_; }
  TColor Background() const { return background_; }
  TColor Foreground() const { return foreground_; }
  TFontStyles Style() const { return style_; }
  void SetBackground(TColor color);
  void SetForeground(TColor color);
  void SetStyle(TFontStyles style);
  // Name and the three values of other; one notification when anything changed.
  void Assign(const TSynHighlighterAttributes& other);

  TColor BackgroundDefault() const { return backgroundDefault_; }
  TColor ForegroundDefault() const { return foregroundDefault_; }
  TFontStyles StyleDefault() const { return styleDefault_; }

 private:
  friend class TSynCustomHighlighter;
  void NotifyChange();

  std::string storageName_;
  TColor background_ = clNone;
  TColor foreground_ = clNone;
  TFontStyles style_ = 0;
  TColor backgroundDefault_ = clNone;
  TColor foregroundDefault_ = clNone;
  TFontStyles styleDefault_ = 0;
  TSynCustomHighlighter* owner_ = nullptr;  // the change callback, set by the owner
};

// An ordered list of (callback, receiver) pairs fired with one sender.
class TSynNotifyEventChain {
 public:
  using TCallback = void (*)(void* receiver, const TSynChangeSender& sender);

  void Add(TCallback callback, void* receiver) { entries_.emplace_back(callback, receiver); }
  void Remove(TCallback callback, void* receiver);
  // An exception from a receiver ends the round and goes to the caller.
  void Fire(const TSynChangeSender& sender) const;
  std::size_t Count() const { return entries_.size(); }

 private:
  std::vector<std::pair<TCallback, void*>> entries_;
};

// Roles of DefaultAttribute.
enum TSynAttributeRole { SYN_ATTR_COMMENT = 0, SYN_ATTR_IDENTIFIER, SYN_ATTR_KEYWORD, SYN_ATTR_STRING,
                         SYN_ATTR_WHITESPACE, SYN_ATTR_SYMBOL };

// The common base of the highlighters: attributes, character sets, change notification and
// the token protocol. A caller scans one line at a time: ResetRange or RestoreRange, then
// StartLine with a NUL-terminated text, then while !AtLineEnd() read the token and NextToken;
// CurrentRange() afterwards is the state the next line starts in.
class TSynCustomHighlighter {
 public:
  TSynCustomHighlighter();
  virtual ~TSynCustomHighlighter();
  TSynCustomHighlighter(const TSynCustomHighlighter&) = delete;
  TSynCustomHighlighter& operator=(const TSynCustomHighlighter&) = delete;

  int AttributeCount() const { return static_cast<int>(attributes_.size()); }
  // In StorageName order; null outside the list.
  TSynHighlighterAttributes* AttributeAt(int index) const;
  virtual TSynHighlighterAttributes* DefaultAttribute(int role) const = 0;

  const std::string& DefaultFilter() const { return defaultFilter_; }
  void SetDefaultFilter(std::string filter) { defaultFilter_ = std::move(filter); }
  virtual const TSynCharSet& IdentifierCharSet() const;
  const TSynCharSet& WordBreakCharSet() const { return wordBreakChars_; }
  void SetWordBreakCharSet(const TSynCharSet& chars) { wordBreakChars_ = chars; }
  virtual std::string LanguageName() const { return "<Unknown>"; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  virtual bool AtLineEnd() const = 0;
  virtual TSynRange CurrentRange() const { return 0; }
  virtual std::string TokenText() const = 0;
  // Null for the end of line: the caller's own colours and style apply.
  virtual TSynHighlighterAttributes* TokenAttribute() const = 0;
  virtual int TokenKind() const = 0;
  virtual int TokenStart() const = 0;
  virtual void NextToken() = 0;
  // The highlighter keeps a reference to text, which ends at its first NUL.
  virtual void StartLine(const char* text, int lineIndex) = 0;
  virtual void RestoreRange(TSynRange range) { (void)range; }
  virtual void ResetRange() {}
  void SkipToLineEnd();

  void SubscribeChanges(TSynNotifyEventChain::TCallback callback, void* receiver);
  void UnsubscribeChanges(TSynNotifyEventChain::TCallback callback, void* receiver);

  // While the owner applies its configuration no change is sent; the end sends one.
  void BeginConfiguration() { ++configuring_; }
  void EndConfiguration();

 protected:
  // Adds in StorageName order (letter case ignored); a second attribute of a name is an error.
  TSynHighlighterAttributes* AddAttribute(const std::string& storageName);
  // The end of a concrete highlighter's construction: every attribute reports its changes
  // here and remembers its present values as its defaults.
  void CaptureDefaults();

 private:
  friend class TSynHighlighterAttributes;
  void Changed(const TSynChangeSender& sender);

  std::vector<std::unique_ptr<TSynHighlighterAttributes>> attributes_;
  TSynNotifyEventChain changes_;
  bool enabled_ = true;
  int configuring_ = 0;
  TSynCharSet wordBreakChars_;
  std::string defaultFilter_;
};

}  // namespace tarnwick
