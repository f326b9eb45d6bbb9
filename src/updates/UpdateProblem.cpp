#include "updates/UpdateProblem.h"

QString sentence(UpdateProblem problem)
{
    switch (problem) {
    case UpdateProblem::offline:
        return QStringLiteral("Dewbell couldn't reach the update server; check that you're online and try again.");
    case UpdateProblem::timedOut:
        return QStringLiteral("The update server didn't answer in time; please try again later.");
    case UpdateProblem::untrustedServer:
        return QStringLiteral("The update server's certificate couldn't be trusted, so nothing was downloaded.");
    case UpdateProblem::insecureAddress:
        return QStringLiteral("The update was offered over an insecure connection, so Dewbell refused it.");
    case UpdateProblem::serverError:
        return QStringLiteral("The update server answered with an error; please try again later.");
    case UpdateProblem::feedUnreadable:
        return QStringLiteral("The update feed could not be read.");
    case UpdateProblem::wrongSize:
        return QStringLiteral("The update wasn't the size the feed announced, so it was not installed.");
    case UpdateProblem::cutShort:
        return QStringLiteral("The download stopped before the whole update arrived, so it was not installed.");
    case UpdateProblem::badSignature:
        return QStringLiteral("The update's signature did not match, so it was not installed.");
    case UpdateProblem::unsafeArchive:
        return QStringLiteral(
            "The update holds files that would land outside Dewbell's folder, so it was not installed.");
    case UpdateProblem::notDewbell:
        return QStringLiteral("The update doesn't hold a copy of Dewbell, so it was not installed.");
    case UpdateProblem::installFailed:
        return QStringLiteral("The update could not be installed; your current version is unchanged.");
    case UpdateProblem::saveFailed:
        return QStringLiteral("The update could not be saved there; please choose another place.");
    }
    return {};
}
