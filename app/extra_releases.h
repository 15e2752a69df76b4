// Releases a build knows beyond the built-in twelve: none in the shipped Kelvara.exe; its
// test build adds the stand-in files that its tests make.
#pragma once
#include "catalogue.h"

void AppendExtraReleases(Catalogue& catalogue);
