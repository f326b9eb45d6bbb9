#include "updates/UpdateProblem.h"

#include "model/EnumTable.h"

#include <array>

namespace {

constexpr std::array<EnumTable::Text<UpdateProblem>, 15> sentences{{
    {UpdateProblem::offline, "Dewbell couldn't reach the update server; check that you're online and try again."},
    {UpdateProblem::timedOut, "The update server didn't answer in time; please try again later."},
    {UpdateProblem::untrustedServer, "The update server's certificate couldn't be trusted, so nothing was downloaded."},
    {UpdateProblem::insecureAddress, "The update was offered over an insecure connection, so Dewbell refused it."},
    {UpdateProblem::serverError, "The update server answered with an error; please try again later."},
    {UpdateProblem::feedUnreadable, "The update feed could not be read."},
    {UpdateProblem::unsignedFeed, "The update feed isn't signed by Dewbell's release key, so nothing was offered."},
    {UpdateProblem::wrongSize, "The update wasn't the size the feed announced, so it was not installed."},
    {UpdateProblem::cutShort, "The download stopped before the whole update arrived, so it was not installed."},
    {UpdateProblem::badSignature, "The update's signature did not match, so it was not installed."},
    {UpdateProblem::unsafeArchive,
     "The update holds files that would land outside Dewbell's folder, so it was not installed."},
    {UpdateProblem::notDewbell, "The update doesn't hold a copy of Dewbell, so it was not installed."},
    {UpdateProblem::wrongVersion,
     "The update holds another version of Dewbell than the one offered, so it was not installed."},
    {UpdateProblem::installFailed, "The update could not be installed; your current version is unchanged."},
    {UpdateProblem::saveFailed, "The update could not be saved there; please choose another place."},
}};

}  // namespace

QString sentence(UpdateProblem problem)
{
    return EnumTable::textOf(sentences, problem);
}

bool isRefusal(UpdateProblem problem)
{
    switch (problem) {
    case UpdateProblem::insecureAddress:
    case UpdateProblem::unsignedFeed:
    case UpdateProblem::wrongSize:
    case UpdateProblem::badSignature:
    case UpdateProblem::unsafeArchive:
    case UpdateProblem::notDewbell:
    case UpdateProblem::wrongVersion:
        return true;
    default:
        return false;
    }
}
