#include "run/FileMask.h"

#include <algorithm>

#include "run/CaseFold.h"

namespace kelvara::run {
namespace {

// The mask language after Windows' translation of a file mask: besides plain characters, "*"
// and "?", the DOS forms of star (stops before the name's last dot), question mark (matches
// nothing at a dot or the end) and dot (matches a dot or the end of the name).
enum class Token { Char, Star, Qm, DosStar, DosQm, DosDot };

struct Element {
  Token token;
  char32_t ch = 0;
};

std::vector<Element> translate(const std::u32string& mask) {
  std::vector<Element> out;
  if (mask == U"*.*") {
    out.push_back({Token::Star});
    return out;
  }
  const size_t n = mask.size();
  for (size_t i = 0; i < n; ++i) {
    const char32_t c = mask[i];
    const bool hasNext = i + 1 < n;
    if (c == U'?') {
      out.push_back({Token::DosQm});
    } else if (c == U'*') {
      out.push_back({hasNext && mask[i + 1] == U'.' ? Token::DosStar : Token::Star});
    } else if (c == U'.' && (!hasNext || mask[i + 1] == U'?' || mask[i + 1] == U'*')) {
      out.push_back({Token::DosDot});
    } else {
      out.push_back({Token::Char, c});
    }
  }
  return out;
}

}  // namespace

bool MatchesMask(std::string_view name, std::string_view mask) {
  const std::u32string n = foldedCodePoints(name);
  const std::vector<Element> e = translate(foldedCodePoints(mask));
  const size_t nl = n.size();
  const size_t el = e.size();
  const size_t lastDot = n.rfind(U'.');

  // ok[i][j]: the mask from element i matches the name from character j. Filled from the end.
  std::vector<std::vector<char>> ok(el + 1, std::vector<char>(nl + 1, 0));
  ok[el][nl] = 1;
  for (size_t i = el; i-- > 0;) {
    // Index of the first element after this run of DOS question marks.
    size_t afterQms = i;
    while (afterQms < el && e[afterQms].token == Token::DosQm) {
      ++afterQms;
    }
    for (size_t j = nl + 1; j-- > 0;) {
      const bool more = j < nl;
      bool r = false;
      switch (e[i].token) {
        case Token::Char:
          r = more && n[j] == e[i].ch && ok[i + 1][j + 1];
          break;
        case Token::Qm:
          r = more && ok[i + 1][j + 1];
          break;
        case Token::Star:
          r = ok[i + 1][j] || (more && ok[i][j + 1]);
          break;
        case Token::DosStar:
          r = ok[i + 1][j] || (more && j != lastDot && ok[i][j + 1]);
          break;
        case Token::DosQm:
          r = (more && n[j] != U'.') ? ok[i + 1][j + 1] : ok[afterQms][j];
          break;
        case Token::DosDot:
          r = more ? (n[j] == U'.' && ok[i + 1][j + 1]) : ok[i + 1][j];
          break;
      }
      ok[i][j] = r;
    }
  }
  return ok[0][0];
}

void MaskList::add(const std::string& mask) {
  const auto pos = std::lower_bound(
      masks_.begin(), masks_.end(), mask,
      [](const std::string& a, const std::string& b) { return compareIgnoreCase(a, b) < 0; });
  if (pos != masks_.end() && sameTextIgnoreCase(*pos, mask)) {
    return;
  }
  masks_.insert(pos, mask);
}

void MaskList::setSingle(const std::string& mask) {
  masks_.clear();
  add(mask);
}

void MaskList::setCommaText(std::string_view text) {
  masks_.clear();
  // A NUL ends the text, as it ends a C string.
  text = text.substr(0, text.find('\0'));
  const auto blank = [](char c) { return c >= 1 && c <= ' '; };
  size_t p = 0;
  const size_t n = text.size();
  while (p < n && blank(text[p])) {
    ++p;
  }
  while (p < n) {
    std::string item;
    if (text[p] == '"') {
      // Quoted item: up to the closing quote; a doubled quote is one quote.
      ++p;
      while (p < n) {
        if (text[p] == '"') {
          if (p + 1 < n && text[p + 1] == '"') {
            item.push_back('"');
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        item.push_back(text[p++]);
      }
    } else {
      const size_t start = p;
      while (p < n && !blank(text[p]) && text[p] != ',') {
        ++p;
      }
      item.assign(text.substr(start, p - start));
    }
    add(item);
    while (p < n && blank(text[p])) {
      ++p;
    }
    if (p < n && text[p] == ',') {
      do {
        ++p;
      } while (p < n && blank(text[p]));
    }
  }
}

std::string MaskList::first() const {
  return masks_.empty() ? std::string() : masks_.front();
}

std::string MaskList::commaText() const {
  if (masks_.size() == 1 && masks_.front().empty()) {
    return "\"\"";
  }
  std::string out;
  for (size_t i = 0; i < masks_.size(); ++i) {
    const std::string& s = masks_[i];
    const bool quote = std::any_of(
        s.begin(), s.end(), [](char c) { return (c >= 0 && c <= ' ') || c == '"' || c == ','; });
    if (i > 0) {
      out.push_back(',');
    }
    if (quote) {
      out.push_back('"');
      for (char c : s) {
        out.push_back(c);
        if (c == '"') {
          out.push_back('"');
        }
      }
      out.push_back('"');
    } else {
      out += s;
    }
  }
  return out;
}

bool MaskList::matchesAny(std::string_view name) const {
  return std::any_of(masks_.begin(), masks_.end(),
                     [&](const std::string& m) { return MatchesMask(name, m); });
}

}  // namespace kelvara::run
