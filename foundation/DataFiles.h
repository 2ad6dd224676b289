// One reader and one writer per data-file layout; every window reads and writes through these.
#pragma once

#include "DataFileLines.h"
#include "LinkFiles.h"
#include "MeasurementFiles.h"
#include "PlaceFiles.h"
#include "RegionFiles.h"
#include "RegisterFiles.h"
