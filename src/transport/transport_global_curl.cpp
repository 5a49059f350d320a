#include "transport_global.h"

#include <curl/curl.h>

namespace orvane {

TransportGlobal::TransportGlobal() {
    curl_global_init(CURL_GLOBAL_DEFAULT);
}

TransportGlobal::~TransportGlobal() {
    curl_global_cleanup();
}

} // namespace orvane
