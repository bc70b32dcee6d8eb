#include "config/ui/QtDateTime.h"

namespace kelvara::config::ui {

QDate toQDate(const platform::DateTime& dt) {
  return QDate(dt.year, dt.month, dt.day);
}

QTime toQTime(const platform::DateTime& dt) {
  return QTime(dt.hour, dt.minute, dt.second);
}

platform::DateTime fromQt(const QDate& date, const QTime& time) {
  const QTime t = time.isValid() ? time : QTime(0, 0);
  return platform::DateTime{date.year(), date.month(), date.day(),
                            t.hour(),    t.minute(),   t.second()};
}

QString qtDisplayFormat(const std::string& pattern) {
  QString out;
  QString literal;
  auto flushLiteral = [&] {
    if (!literal.isEmpty()) {
      out += "'" + literal + "'";
      literal.clear();
    }
  };
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c != '%' || i + 1 == pattern.size()) {
      // Letters are format codes to Qt; everything else may stand as it is.
      if (QChar(c).isLetter() || c == '\'') {
        literal += QChar(c);
      } else {
        flushLiteral();
        out += QChar(c);
      }
      continue;
    }
    const char code = pattern[++i];
    QString field;
    switch (code) {
      case 'Y':
        field = "yyyy";
        break;
      case 'y':
        field = "yy";
        break;
      case 'm':
        field = "MM";
        break;
      case 'd':
        field = "dd";
        break;
      case 'e':
        field = "d";
        break;
      case 'b':
      case 'h':
        field = "MMM";
        break;
      case 'B':
        field = "MMMM";
        break;
      case 'a':
        field = "ddd";
        break;
      case 'A':
        field = "dddd";
        break;
      case 'H':
        field = "HH";
        break;
      case 'I':
        field = "hh";
        break;
      case 'M':
        field = "mm";
        break;
      case 'S':
        field = "ss";
        break;
      case 'p':
        field = "AP";
        break;
      case 'T':
        field = "HH:mm:ss";
        break;
      case 'R':
        field = "HH:mm";
        break;
      case 'D':
        field = "MM/dd/yy";
        break;
      case 'F':
        field = "yyyy-MM-dd";
        break;
      case '%':
        literal += '%';
        continue;
      default:
        continue;  // codes a picker cannot show are left out
    }
    flushLiteral();
    out += field;
  }
  flushLiteral();
  return out;
}

}  // namespace kelvara::config::ui
