#include "extra_releases.h"

void AppendExtraReleases(Catalogue&) {}
