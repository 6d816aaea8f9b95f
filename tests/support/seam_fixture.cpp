#include "support/seam_fixture.h"

namespace testsupport {

ScopedSeams::ScopedSeams()
    : previousProfile_(platform::installProfile(&profile)), previousPrompter_(platform::installPrompter(&prompter))
{
}

ScopedSeams::~ScopedSeams()
{
    platform::installProfile(previousProfile_);
    platform::installPrompter(previousPrompter_);
}

}  // namespace testsupport
