#pragma once

#include <QByteArray>
#include <QStringView>

namespace zelvan::runtime {

// A JSON string literal (quotes included) in UTF-8. Written by hand rather
// than with QJsonDocument so that objects keep their keys in the order the
// output format gives them.
QByteArray jsonString(QStringView text);

} // namespace zelvan::runtime
