#pragma once

#include <QString>

// A contact sheet of every drawn character in each phase on the panel's background, for
// judging the art by eye while working on it.
namespace Preview {
void write(const QString& path);
}
