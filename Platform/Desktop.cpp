#include "Desktop.h"

#include <QWindow>

Desktop::~Desktop() = default;

void PlainDesktop::raise(QWindow &window)
{
    window.raise();
}
