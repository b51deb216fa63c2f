#include "PedalDevices.h"
