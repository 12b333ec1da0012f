#include "highlight/SynEditHighlighter.h"

#include <algorithm>
#include <stdexcept>

namespace tarnwick {

namespace {

bool LessNoCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); };
    return lower(x) < lower(y);
  });
}

}  // namespace

TSynCharSet WordCharSet(const char* others) {
  TSynCharSet chars;
  for (int c = '0'; c <= '9'; ++c) chars.set(static_cast<std::size_t>(c));
  for (int c = 'A'; c <= 'Z'; ++c) chars.set(static_cast<std::size_t>(c)).set(static_cast<std::size_t>(c - 'A' + 'a'));
  chars.set('_');
  for (int c = 128; c < 256; ++c) chars.set(static_cast<std::size_t>(c));
  for (const char* c = others; *c != '\0'; ++c) chars.set(static_cast<unsigned char>(*c));
  return chars;
}

// ---- attributes -------------------------------------------------------------------------

void TSynHighlighterAttributes::NotifyChange() {
  if (owner_ != nullptr) owner_->Changed({this, nullptr});
}

void TSynHighlighterAttributes::SetBackground(TColor color) {
  if (color == background_) return;
  background_ = color;
  NotifyChange();
}

void TSynHighlighterAttributes::SetForeground(TColor color) {
  if (color == foreground_) return;
  foreground_ = color;
  NotifyChange();
}

void TSynHighlighterAttributes::SetStyle(TFontStyles style) {
  if (style == style_) return;
  style_ = style;
  NotifyChange();
}

void TSynHighlighterAttributes::Assign(const TSynHighlighterAttributes& other) {
  storageName_ = other.storageName_;
  bool changed = background_ != other.background_ || foreground_ != other.foreground_ || style_ != other.style_;
  background_ = other.background_;
  foreground_ = other.foreground_;
  style_ = other.style_;
  if (changed) NotifyChange();
}

// ---- change chain -----------------------------------------------------------------------

void TSynNotifyEventChain::Remove(TCallback callback, void* receiver) {
  std::erase_if(entries_, [&](const auto& entry) { return entry.first == callback && entry.second == receiver; });
}

void TSynNotifyEventChain::Fire(const TSynChangeSender& sender) const {
  // A copy: a receiver may unsubscribe while it is told.
  std::vector<std::pair<TCallback, void*>> entries = entries_;
  for (const auto& [callback, receiver] : entries) callback(receiver, sender);
}

// ---- highlighter ------------------------------------------------------------------------

TSynCustomHighlighter::TSynCustomHighlighter() {
  for (char c : std::string("!\"'()*+,-./:;=?[\\]^{|}")) wordBreakChars_.set(static_cast<unsigned char>(c));
}

TSynCustomHighlighter::~TSynCustomHighlighter() = default;

TSynHighlighterAttributes* TSynCustomHighlighter::AttributeAt(int index) const {
  if (index < 0 || index >= AttributeCount()) return nullptr;
  return attributes_[static_cast<std::size_t>(index)].get();
}

TSynHighlighterAttributes* TSynCustomHighlighter::AddAttribute(const std::string& storageName) {
  auto at = std::lower_bound(attributes_.begin(), attributes_.end(), storageName,
                             [](const auto& attribute, const std::string& name) { return LessNoCase(attribute->StorageName(), name); });
  if (at != attributes_.end() && !LessNoCase(storageName, (*at)->StorageName()))
    throw std::invalid_argument("Duplicate attribute name '" + storageName + "'");
  return attributes_.insert(at, std::make_unique<TSynHighlighterAttributes>(storageName))->get();
}

void TSynCustomHighlighter::CaptureDefaults() {
  for (const auto& attribute : attributes_) {
    attribute->owner_ = this;
    attribute->backgroundDefault_ = attribute->background_;
    attribute->foregroundDefault_ = attribute->foreground_;
    attribute->styleDefault_ = attribute->style_;
  }
}

const TSynCharSet& TSynCustomHighlighter::IdentifierCharSet() const {
  static const TSynCharSet chars = [] {
    TSynCharSet set;
    for (int c = 33; c < 256; ++c) set.set(static_cast<std::size_t>(c));
    return set;
  }();
  return chars;
}

void TSynCustomHighlighter::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed({});
}

void TSynCustomHighlighter::SkipToLineEnd() {
  while (!AtLineEnd()) NextToken();
}

void TSynCustomHighlighter::SubscribeChanges(TSynNotifyEventChain::TCallback callback, void* receiver) {
  changes_.Add(callback, receiver);
}

void TSynCustomHighlighter::UnsubscribeChanges(TSynNotifyEventChain::TCallback callback, void* receiver) {
  changes_.Remove(callback, receiver);
}

void TSynCustomHighlighter::EndConfiguration() {
  if (configuring_ > 0 && --configuring_ == 0) Changed({});
}

void TSynCustomHighlighter::Changed(const TSynChangeSender& sender) {
  if (configuring_ > 0) return;
  changes_.Fire(sender);
}

}  // namespace tarnwick
