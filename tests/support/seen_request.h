#pragma once

#include <algorithm>
#include <cctype>
#include <map>
#include <string>

namespace orvane {

// A request as a test server received it. Header names match in any case.
struct SeenRequest {
    struct AnyCase {
        bool operator()(const std::string& a, const std::string& b) const {
            return std::lexicographical_compare(
                a.begin(), a.end(), b.begin(), b.end(),
                [](unsigned char x, unsigned char y) { return std::tolower(x) < std::tolower(y); });
        }
    };
    std::string method;
    std::string path;
    std::string body;
    std::multimap<std::string, std::string, AnyCase> headers;
    int remotePort = -1;

    bool Has(const std::string& name) const { return headers.count(name) != 0; }
    std::string Header(const std::string& name) const {
        auto found = headers.find(name);
        return found == headers.end() ? std::string() : found->second;
    }

    // As the server's "/seen" page shows it: the method and path, the
    // header lines, an empty line, the body.
    std::string Dump() const {
        std::string text = method + " " + path + "\n";
        for (const auto& [name, value] : headers) {
            text += name + ": " + value + "\n";
        }
        return text + "\n" + body;
    }
    static SeenRequest FromDump(const std::string& text) {
        SeenRequest seen;
        size_t end = text.find('\n');
        std::string first = text.substr(0, end);
        seen.method = first.substr(0, first.find(' '));
        seen.path = first.find(' ') == std::string::npos ? "" : first.substr(first.find(' ') + 1);
        size_t at = end == std::string::npos ? text.size() : end + 1;
        while (at < text.size() && text[at] != '\n') {
            size_t next = text.find('\n', at);
            std::string line = text.substr(at, next - at);
            size_t colon = line.find(": ");
            seen.headers.emplace(line.substr(0, colon), line.substr(colon + 2));
            at = next == std::string::npos ? text.size() : next + 1;
        }
        seen.body = at < text.size() ? text.substr(at + 1) : std::string();
        return seen;
    }
};

} // namespace orvane
