#include "../../../app/extra_releases.h"
#include "../../fixtures/target_fixture.h"

void AppendExtraReleases(Catalogue& catalogue)
{
    AppendFixtureReleases(catalogue);
}
