// A folder the layer table does not place.
#include "Clock.h"
