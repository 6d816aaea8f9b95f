#include "platform/profile.h"

#include <cassert>

namespace platform {

namespace {
Profile* installedProfile = nullptr;
}

Profile& profile()
{
    assert(installedProfile && "no profile installed");
    return *installedProfile;
}

Profile* installProfile(Profile* profile)
{
    Profile* previous = installedProfile;
    installedProfile = profile;
    return previous;
}

}  // namespace platform
