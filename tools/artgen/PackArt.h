#pragma once

#include <QDir>

// The bundled character packs: Zoze ("vossik-fan", human-like sprite), Zuv ("zuv", a sprite
// bear in the "bear24" layout) and Nimbi ("nimbi", a movie cloud). Writes each pack folder
// with its character.json under `characters`, and Nimbi's movie frames under `movieFrames`.
namespace PackArt {
void writePacks(const QDir& characters, const QDir& movieFrames);
}
