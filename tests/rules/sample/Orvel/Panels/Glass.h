#pragma once
// Panels may draw with the kit.
#include "Ground.h"
