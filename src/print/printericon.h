#pragma once

#include <QIcon>

// The picture of the print button, drawn rather than shipped.
QIcon printerIcon();
