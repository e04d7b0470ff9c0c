// Placeholder until the dispatcher lands.
#include "navigation/ChannelDispatcher.h"

ChannelDispatcher::ChannelDispatcher(DispatchTargets targets) : t_(std::move(targets)) {}
void ChannelDispatcher::StartTV(const QString&) {}
void ChannelDispatcher::StartFavorite(const QString&) {}
