#pragma once

#include <QIcon>
#include <QImage>
#include <QString>
#include <optional>

// The brand art in the bundle's "Brand" folder: "app-icon-v1.png", "menu-template-v1.png",
// "orvo-onboarding.png" and "orvo-wave.gif".
class BrandAssets {
public:
    // The named picture (the first frame of an animation), read within the image bound and kept
    // only when it decodes; none for a missing or broken file or a name that is not a plain
    // file name. Remembered once loaded.
    static std::optional<QImage> image(const QString& name);
    // Where a named file that decodes lives (for QMovie, which reads the GIF itself); none as
    // for image().
    static std::optional<QString> path(const QString& name);

    // The tray icon: the menu template at 18 x 18 (36 x 36 pixels on a 2x screen), marked as
    // a mask so the desktop may recolour it; the "drop.fill" symbol when the file is missing.
    static QIcon menuIcon();
    static constexpr int menuIconSize = 18;

    // Forgets every picture (tests point the bundle elsewhere).
    static void clearCache();
};
