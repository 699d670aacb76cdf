#pragma once

#include <QIcon>

// Pictures of the clipboard buttons, drawn rather than shipped.
namespace editicons {

QIcon scissors();
QIcon twoPages();
QIcon clipboard();

} // namespace editicons
