#pragma once

#include <QDir>

// The brand files: "app-icon-v1.png" (256 x 256), "menu-template-v1.png" (36 x 36, black
// with alpha, shown at 18 x 18 on 2x screens), "orvo-onboarding.png" and the animated
// "orvo-wave.gif" (132 x 132, shown at 66 x 66 points on the surface colour).
namespace BrandArt {
void writeBrand(const QDir& brand);
// The icon menus and trays show, in the folders of the hicolor theme: drawn at each size a
// desktop asks for, and as SVG.
void writeIcons(const QDir& hicolor);
}  // namespace BrandArt
