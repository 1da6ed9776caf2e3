#include "core/CPolVycet.h"

// The statement line has no behaviour beyond its two values; this file keeps the folder's one-pair-per-class
// layout.
