// Dewbell's art generator.
//   dewbell-artgen <resources folder> <movie frames folder>   writes Brand/, icons/, Characters/,
//       Sounds/pop.wav and the PNG frames of the movies (make-art.sh encodes them)
//   dewbell-artgen --preview <file.png>                        writes a contact sheet
#include "BrandArt.h"
#include "PackArt.h"
#include "Preview.h"
#include "WavWriter.h"

#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <stdexcept>

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    try {
        if (arguments.size() == 3 && arguments[1] == QStringLiteral("--preview")) {
            Preview::write(arguments[2]);
            return 0;
        }
        if (arguments.size() != 3) {
            std::fputs("usage: dewbell-artgen <resources folder> <movie frames folder>\n"
                       "       dewbell-artgen --preview <file.png>\n",
                       stderr);
            return 2;
        }
        const QDir resources(arguments[1]);
        BrandArt::writeBrand(QDir(resources.filePath(QStringLiteral("Brand"))));
        BrandArt::writeIcons(QDir(resources.filePath(QStringLiteral("icons/hicolor"))));
        PackArt::writePacks(QDir(resources.filePath(QStringLiteral("Characters"))), QDir(arguments[2]));
        resources.mkpath(QStringLiteral("Sounds"));
        QFile pop(resources.filePath(QStringLiteral("Sounds/pop.wav")));
        if (!pop.open(QIODevice::WriteOnly | QIODevice::Truncate) || pop.write(WavWriter::pop()) < 0)
            throw std::runtime_error("cannot write Sounds/pop.wav");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "dewbell-artgen: %s\n", error.what());
        return 1;
    }
    return 0;
}
