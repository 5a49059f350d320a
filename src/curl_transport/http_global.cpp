#include "http_global.h"

#include <curl/curl.h>

HttpGlobal::HttpGlobal() {
    curl_global_init(CURL_GLOBAL_DEFAULT);
}

HttpGlobal::~HttpGlobal() {
    curl_global_cleanup();
}
