#pragma once

// Text conversions between the core (UTF-8 std::string, "\r" line breaks) and Qt.

#include <QString>

#include <string>

namespace kumby::gui {

inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string S(const QString& text) {
    return text.toStdString();
}

// Message texts keep "\r" as their line break; a label needs "\n".
inline QString ShownText(const std::string& text) {
    return QString::fromStdString(text).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

} // namespace kumby::gui
