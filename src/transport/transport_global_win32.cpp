#include "transport_global.h"

namespace orvane {

// WinHTTP needs no set-up of its own: each request object opens its session.
TransportGlobal::TransportGlobal() = default;
TransportGlobal::~TransportGlobal() = default;

} // namespace orvane
