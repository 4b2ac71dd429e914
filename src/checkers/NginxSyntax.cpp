#include "checkers/NginxSyntax.h"

#include <algorithm>

namespace {

bool isAsciiAlnum(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool isVariableChar(unsigned char c) {
    return isAsciiAlnum(c) || c == '_';
}

bool isBlankOrControl(unsigned char c) {
    return c <= 0x20 || c == 0x7f;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// "(?...)" groups, "*?", "+?" and the like are quantifier forms and group syntax, not
// quantifiers of nothing.
bool isQuantifier(char c) {
    return c == '*' || c == '+' || c == '?';
}

}  // namespace

std::string NginxSyntax::serviceName(const Json& service) {
    auto text = [&](const char* key) {
        if (service.is_object()) {
            auto it = service.find(key);
            if (it != service.end() && it->is_string()) {
                return it->get<std::string>();
            }
        }
        return std::string("?");
    };
    return "service \"" + text("subsystem") + ":" + text("deploymentUnit") + "\"";
}

std::string NginxSyntax::nameProblem(const std::string& value) {
    for (unsigned char c : value) {
        if (!isVariableChar(c) && c != '.' && c != '-') {
            return "may hold only ASCII letters, digits, \".\", \"-\" and \"_\"";
        }
    }
    return std::string();
}

std::string NginxSyntax::hostProblem(const std::string& value) {
    if (value.empty()) {
        return "must not be empty";
    }
    for (unsigned char c : value) {
        if (!isVariableChar(c) && c != '.' && c != '-' && c != ':' && c != '[' && c != ']') {
            return "is not a host name or address (ASCII letters, digits, \".\", \"-\", \"_\", "
                   "\":\", \"[\" and \"]\")";
        }
    }
    return std::string();
}

std::string NginxSyntax::wordProblem(const std::string& value) {
    if (value.empty()) {
        return "must not be empty";
    }
    for (unsigned char c : value) {
        if (isBlankOrControl(c)) {
            return "must not contain blanks or control characters";
        }
        if (c == ';' || c == '{' || c == '}' || c == '"' || c == '\'') {
            return "must not contain ; { } \" or '";
        }
    }
    if (value.back() == '\\') {
        return "must not end with a backslash";
    }
    if (value.front() == '#') {
        return "must not begin with #";
    }
    return std::string();
}

std::string NginxSyntax::tokenProblem(const std::string& value) {
    if (value.empty() || (value[0] != '"' && value[0] != '\'')) {
        return wordProblem(value);
    }
    const char quote = value[0];
    for (std::string::size_type i = 1; i < value.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(value[i]);
        if (c < 0x20 || c == 0x7f) {
            return "must not contain control characters";
        }
        if (c == '\\') {
            ++i;  // the escaped character, also an escaped quote
        } else if (c == static_cast<unsigned char>(quote)) {
            if (i + 1 != value.size()) {
                return "must end where its quoted part ends";
            }
            return std::string();
        }
    }
    return "must close the quote it opens";
}

std::string NginxSyntax::unquoted(const std::string& value) {
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') &&
        value.back() == value[0]) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string NginxSyntax::wordsProblem(const std::string& value) {
    if (value.empty()) {
        return "must not be empty";
    }
    std::string::size_type start = 0;
    while (true) {
        const std::string::size_type blank = value.find(' ', start);
        const std::string word =
            value.substr(start, blank == std::string::npos ? blank : blank - start);
        std::string problem = wordProblem(word);
        if (!problem.empty()) {
            return word.empty() ? "must be words separated by single blanks" : problem;
        }
        if (blank == std::string::npos) {
            return std::string();
        }
        start = blank + 1;
    }
}

std::string NginxSyntax::quotedProblem(const std::string& value, char quote) {
    if (value.find(quote) != std::string::npos) {
        return std::string("must not contain the character ") + quote;
    }
    // A backslash at the end would escape the closing quote; elsewhere nginx keeps it.
    if (!value.empty() && value.back() == '\\') {
        return "must not end with a backslash";
    }
    return std::string();
}

std::string NginxSyntax::variablesProblem(const std::string& value) {
    for (std::string::size_type i = 0; i < value.size(); ++i) {
        if (value[i] != '$') {
            continue;
        }
        std::string name;
        if (i + 1 < value.size() && value[i + 1] == '{') {
            const std::string::size_type close = value.find('}', i + 2);
            if (close == std::string::npos) {
                return "has a \"${\" without its closing \"}\"";
            }
            name = value.substr(i + 2, close - i - 2);
            if (name.empty() || !std::all_of(name.begin(), name.end(),
                                             [](unsigned char c) { return isVariableChar(c); })) {
                return "has an invalid variable name in \"${...}\"";
            }
            i = close;
        } else {
            std::string::size_type end = i + 1;
            if (end < value.size() && value[end] >= '1' && value[end] <= '9') {
                i = end;  // $1 to $9: captures of the location's or rewrite's expression
                continue;
            }
            while (end < value.size() && isVariableChar(static_cast<unsigned char>(value[end]))) {
                ++end;
            }
            name = value.substr(i + 1, end - i - 1);
            if (name.empty()) {
                return "has a \"$\" that starts no variable name";
            }
            i = end - 1;
        }
        if (name.size() == 1 && name[0] >= '1' && name[0] <= '9') {
            continue;
        }
        const std::string lower = lowerAscii(name);
        const auto& known = knownVariables();
        bool found = std::find(known.begin(), known.end(), lower) != known.end();
        for (const auto& prefix : knownVariablePrefixes()) {
            found = found || (startsWith(lower, prefix) && lower.size() > prefix.size());
        }
        if (!found) {
            return "refers to the variable $" + name + ", which nginx does not define";
        }
    }
    return std::string();
}

std::string NginxSyntax::regexProblem(const std::string& value) {
    int depth = 0;
    bool inClass = false;
    bool canRepeat = false;  // something precedes that a quantifier may repeat
    for (std::string::size_type i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\\') {
            if (i + 1 == value.size()) {
                return "ends with a backslash";
            }
            ++i;
            canRepeat = true;
            continue;
        }
        if (inClass) {
            if (c == ']') {
                inClass = false;
                canRepeat = true;
            }
            continue;
        }
        switch (c) {
            case '[':
                inClass = true;
                // "]" right after "[" or "[^" is a member, not the end of the class.
                if (i + 1 < value.size() && value[i + 1] == '^') {
                    ++i;
                }
                if (i + 1 < value.size() && value[i + 1] == ']') {
                    ++i;
                }
                break;
            case '(':
                ++depth;
                canRepeat = false;
                if (i + 1 < value.size() && value[i + 1] == '?') {
                    ++i;  // group syntax such as (?: (?i) (?<name>
                }
                break;
            case ')':
                if (depth == 0) {
                    return "has an unmatched \")\"";
                }
                --depth;
                canRepeat = true;
                break;
            case '|':
                canRepeat = false;
                break;
            case '*':
            case '+':
            case '?':
                if (!canRepeat) {
                    return "has a quantifier that follows nothing it could repeat";
                }
                // A lazy or possessive marker may follow; a third one may not.
                if (i + 1 < value.size() && isQuantifier(value[i + 1])) {
                    ++i;
                }
                canRepeat = false;
                break;
            default:
                canRepeat = c != '^';
                break;
        }
    }
    if (inClass) {
        return "has a \"[\" without its closing \"]\"";
    }
    if (depth != 0) {
        return "has a \"(\" without its closing \")\"";
    }
    return std::string();
}

std::string NginxSyntax::locationProblem(const std::string& url) {
    std::string modifier;
    std::string path = url;
    const std::string::size_type blank = url.find(' ');
    if (blank != std::string::npos) {
        modifier = url.substr(0, blank);
        path = url.substr(blank + 1);
        if (modifier != "=" && modifier != "~" && modifier != "~*" && modifier != "^~") {
            return "must be a path, or one of the modifiers =, ~, ~*, ^~ followed by one blank "
                   "and a path";
        }
    } else if (startsWith(url, "~*")) {
        modifier = "~*";
        path = url.substr(2);
    } else if (startsWith(url, "~")) {
        modifier = "~";
        path = url.substr(1);
    }
    // After a modifier and its blank the path is a word of its own, which may be quoted.
    std::string problem = blank == std::string::npos ? wordProblem(url) : tokenProblem(path);
    if (!problem.empty()) {
        return problem;
    }
    if (modifier == "~" || modifier == "~*") {
        problem = regexProblem(unquoted(path));
        if (!problem.empty()) {
            return "is a regular expression that " + problem;
        }
    }
    return std::string();
}

std::string NginxSyntax::locationKey(const std::string& url) {
    const std::string::size_type blank = url.find(' ');
    if (blank != std::string::npos) {
        const std::string modifier = url.substr(0, blank);
        const std::string path = url.substr(blank + 1);
        if (modifier == "=") {
            return "=" + path;
        }
        return modifier == "^~" ? path : std::string();
    }
    if (startsWith(url, "~") || startsWith(url, "@")) {
        return std::string();
    }
    if (startsWith(url, "^~")) {
        return url.substr(2);
    }
    return url;
}

bool NginxSyntax::isNamedLocation(const std::string& url) {
    return startsWith(url, "@");
}

std::string NginxSyntax::expiresProblem(const std::string& value) {
    std::string time = value;
    if (startsWith(time, "modified ")) {
        time = time.substr(9);
    }
    if (time == "epoch" || time == "max" || time == "off") {
        return std::string();
    }
    if (startsWith(time, "@")) {
        time = time.substr(1);
    } else if (startsWith(time, "-")) {
        time = time.substr(1);
    }
    // Numbers each followed by a unit, the units in nginx's order (y M w d h m s; no
    // milliseconds here), the last number may go without one. nginx reads "1h 30m" as two
    // words, so only the joined form is a time.
    const std::string units = "yMwdhms";
    std::string::size_type lastUnit = std::string::npos;
    std::string::size_type i = 0;
    bool any = false;
    while (i < time.size()) {
        std::string::size_type digits = i;
        while (digits < time.size() && time[digits] >= '0' && time[digits] <= '9') {
            ++digits;
        }
        if (digits == i) {
            return "must be epoch, max, off or a time such as 7d or 1h30m";
        }
        any = true;
        i = digits;
        if (i == time.size()) {
            break;
        }
        const std::string::size_type unit = units.find(time[i]);
        if (unit == std::string::npos || (lastUnit != std::string::npos && unit <= lastUnit)) {
            return "must be epoch, max, off or a time such as 7d or 1h30m";
        }
        lastUnit = unit;
        ++i;
    }
    if (!any) {
        return "must be epoch, max, off or a time such as 7d or 1h30m";
    }
    return std::string();
}

bool NginxSyntax::isStatusCode(const std::string& value) {
    if (value.empty() || value.size() > 3) {
        return false;
    }
    return std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string NginxSyntax::lowerAscii(std::string value) {
    for (char& c : value) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return value;
}

const std::vector<std::string>& NginxSyntax::knownVariables() {
    static const std::vector<std::string> names = {
        // nginx core
        "args", "binary_remote_addr", "body_bytes_sent", "bytes_sent", "connection",
        "connection_requests", "connection_time", "content_length", "content_type", "document_root",
        "document_uri", "host", "hostname", "https", "is_args", "limit_rate", "msec",
        "nginx_version", "pid", "pipe", "proxy_protocol_addr", "proxy_protocol_port",
        "proxy_protocol_server_addr", "proxy_protocol_server_port", "query_string", "realpath_root",
        "remote_addr", "remote_port", "remote_user", "request", "request_body", "request_body_file",
        "request_completion", "request_filename", "request_id", "request_length", "request_method",
        "request_time", "request_uri", "scheme", "server_addr", "server_name", "server_port",
        "server_protocol", "status", "tcpinfo_rtt", "tcpinfo_rttvar", "tcpinfo_snd_cwnd",
        "tcpinfo_rcv_space", "time_iso8601", "time_local", "uri",
        // proxy, upstream, limits, realip, ssl, gzip, ssi
        "proxy_host", "proxy_port", "proxy_add_x_forwarded_for", "upstream_addr",
        "upstream_bytes_received", "upstream_bytes_sent", "upstream_cache_status",
        "upstream_connect_time", "upstream_header_time", "upstream_response_length",
        "upstream_response_time", "upstream_status", "limit_req_status", "limit_conn_status",
        "realip_remote_addr", "realip_remote_port", "ssl_cipher", "ssl_ciphers", "ssl_client_cert",
        "ssl_client_fingerprint", "ssl_client_i_dn", "ssl_client_raw_cert", "ssl_client_s_dn",
        "ssl_client_serial", "ssl_client_verify", "ssl_protocol", "ssl_server_name",
        "ssl_session_id", "ssl_session_reused", "gzip_ratio", "date_gmt", "date_local",
        // provided by the gateway's own configuration or set by the generated files
        "gen_zul_rest_id", "zul_session", "dst_subsystem", "dst_deploymentunit", "var_host",
        "session_cookie"};
    return names;
}

const std::vector<std::string>& NginxSyntax::knownVariablePrefixes() {
    static const std::vector<std::string> prefixes = {
        "http_", "sent_http_",     "sent_trailer_",     "cookie_",
        "arg_",  "upstream_http_", "upstream_trailer_", "upstream_cookie_"};
    return prefixes;
}
