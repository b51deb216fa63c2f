#include "ClockFace.h"
