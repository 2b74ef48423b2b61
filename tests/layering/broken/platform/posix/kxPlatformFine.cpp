// The platform layer may talk to the system and use core's private helpers.
#include "kxRuzoVori/core/private/kxBytes.h"
#include "kxRuzoVori/platform/kxPlatformFile.h"
#include <sys/stat.h>
#include <unistd.h>
