#pragma once
// The radio's view of the audio back end; the interface itself lives with the platform seams.
#include "platform/AudioEngine.h"
