#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <string>

#include "platform/DateTime.h"

namespace kelvara::config::ui {

// The pickers' values to and from the core's broken-down date and time.
QDate toQDate(const platform::DateTime& dt);
QTime toQTime(const platform::DateTime& dt);
// The day of `date` at the time of day of `time` (midnight for an invalid time).
platform::DateTime fromQt(const QDate& date, const QTime& time = QTime(0, 0));

// A strftime pattern of the user's locale as a Qt display format, so that the pickers show dates
// and times the way the operator reads them elsewhere in the program.
QString qtDisplayFormat(const std::string& strftimePattern);

}  // namespace kelvara::config::ui
