#pragma once
// What qelinfo prints for a file: its format word, display title and both
// information records, as text or as JSON, and its command line.
#include "tools/InfoJson.h"
#include "tools/InfoOptions.h"
#include "tools/InfoRead.h"
#include "tools/InfoText.h"
