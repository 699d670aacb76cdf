#pragma once

#include <QIcon>

// Pictures of the clipboard buttons and of leaving the program, drawn rather
// than shipped.
namespace editicons {

QIcon scissors();
QIcon twoPages();
QIcon clipboard();
// An open door with an arrow leading out through it.
QIcon exitDoor();

} // namespace editicons
