#include "Ground.h"

#include "Glass.h"
