#!/usr/bin/env python3
"""Writes the malformed-input corpus: docs/*.json and expected.tsv.

    python3 tests/malformed/generate.py

Each document replaces one of the four documents of a valid set (valid/v3, valid/v2, valid/v0)
and must make the run fail in an orderly way: exit status 1, a message on standard output that
contains the expected text, nothing on standard error, no file written. The file name is
SET_POSITION_REASON.json; expected.tsv maps it to the expected text. Most documents are the
valid document with one value replaced by a value of another type; the others are written out
whole (documents that are not objects, invalid UTF-8, deep nesting, huge numbers).

The generated files are committed; run this again after changing the list below.
"""
import copy
import json
import os
import shutil

HERE = os.path.dirname(os.path.abspath(__file__))
POSITIONS = ["services", "nodes", "routing", "limits"]


def load(set_name, position):
    with open(os.path.join(HERE, "valid", set_name, position + ".json"), encoding="utf-8") as f:
        return json.load(f)


DELETE = object()


def replaced(set_name, position, path, value):
    """The valid document with the value at path (keys and indexes) replaced or deleted."""
    document = copy.deepcopy(load(set_name, position))
    target = document
    for key in path[:-1]:
        target = target[key]
    if value is DELETE:
        del target[path[-1]]
    else:
        target[path[-1]] = value
    return json.dumps(document, indent=1, ensure_ascii=False).encode("utf-8") + b"\n"


CASES = []


def case(set_name, position, reason, content, expected):
    CASES.append((f"{set_name}_{position}_{reason}.json", content, expected))


def wrong(set_name, position, reason, path, value, expected):
    case(set_name, position, reason, replaced(set_name, position, path, value), expected)


# Paths into the valid schema-3 set.
LOC = ["services", 0, "apiVersions", 0, "locations"]
PROXY = LOC + [0]
REWRITE = LOC + [1]
RETURN = LOC + [2]
ALIAS = LOC + [3]
HC = ["services", 0, "healthcheck"]
GROUP = ["services", 0, "apiVersions", 0, "nodeGroups", 0]
ROUTE_GROUP = ["services", 0, "apiVersions", 0, "nodeGroups", 1]
DC = GROUP + ["dataCenters", 0]
ROUTING = ["services", 0, "routing"]
CONSUMER = ROUTING + [0, "consumer"]
QUOTA = ["services", 0, "quotas", 0]
DEFAULT_QUOTA = ["services", 0, "quotas", 1]

NOT_OBJECT_DOCUMENTS = [
    ("array", b"[]\n"),
    ("string", b"\"services\"\n"),
    ("number", b"3\n"),
    ("null", b"null\n"),
    ("true", b"true\n"),
]

# --- whole documents that are not what a document must be, in every position -----------------
for position in POSITIONS:
    for reason, content in NOT_OBJECT_DOCUMENTS:
        case("v3", position, "document_" + reason, content, "")
    case("v3", position, "truncated", b'{"schema_version": "3", "services": [\n', "parse error")
    case("v3", position, "invalid_utf8_in_string",
         b'{"schema_version": "3", "services": [{"subsystem": "\xff\xfe"}]}\n', "parse error")
    case("v3", position, "invalid_utf8_outside_string", b'\xef\xbb\xbf\xff{}\n', "parse error")
    case("v3", position, "deep_nesting",
         b'{"schema_version": "3", "services": ' + b"[" * 100000 + b"]" * 100000 + b"}\n",
         "json nests deeper than 512 levels")
    case("v3", position, "deep_nesting_within_limit",
         b'{"schema_version": "3", "protocols": {"http": {"port": 80}}, '
         b'"services": [{"subsystem": ' + b"[" * 500 + b"]" * 500 +
         b', "deploymentUnit": "pay-api", "apiVersions": [], "routing": [], "quotas": []}]}\n',
         '"subsystem" must be string')
    case("v3", position, "schema_version_number", replaced("v3", position, ["schema_version"], 3),
         '"schema_version" must be string')
    case("v3", position, "services_string", replaced("v3", position, ["services"], "x"),
         {"services": '"services" section must be array',
          "nodes": 'nodes.json: "subsystem" does not exists in service',
          "routing": 'routing.json: "subsystem" does not exists in service',
          "limits": 'limits.json: "services" section must be array'}[position])
    if position != "limits":
        # The limits merge takes part only with entries that have "subsystem",
        # "deploymentUnit" and "quotas", and leaves any other entry alone.
        case("v3", position, "service_number", replaced("v3", position, ["services", 0], 5), "")
    case("v3", position, "subsystem_number", replaced("v3", position, ["services", 0, "subsystem"], 5),
         '"subsystem" must be string')
    case("v3", position, "deployment_unit_array",
         replaced("v3", position, ["services", 0, "deploymentUnit"], ["a"]),
         '"deploymentUnit" must be string')
    if position != "routing":
        # The routing merge does not read "usedGateways".
        case("v3", position, "used_gateways_number_element",
             replaced("v3", position, ["services", 0, "usedGateways"], [5]),
             '"usedGateways" elements must be strings')
    case("v3", position, "huge_number",
         b'{"schema_version": "3", "services": [' + b"9" * 400 + b"]}\n", "")
    case("v3", position, "number_out_of_double_range",
         b'{"schema_version": "3", "services": [1e999]}\n', "")

# --- services.json: services and their locations, balancing and health check -----------------
S = "services"
wrong("v3", S, "api_versions_string", ["services", 0, "apiVersions"], "x", "")
wrong("v3", S, "api_versions_object", ["services", 0, "apiVersions"], {}, "")
wrong("v3", S, "api_version_number", ["services", 0, "apiVersions", 0], 5, "")
wrong("v3", S, "version_number", ["services", 0, "apiVersions", 0, "version"], 1, "")
wrong("v3", S, "locations_string", LOC, "x", "")
wrong("v3", S, "location_number", PROXY, 5, "")
wrong("v3", S, "url_number", PROXY + ["url"], 5, '"locations[i].url" must be string')
wrong("v3", S, "url_null", PROXY + ["url"], None, '"locations[i].url" must be string')
wrong("v3", S, "url_empty", PROXY + ["url"], "", '"locations[i].url" must be not empty string')
wrong("v3", S, "url_missing", PROXY + ["url"], DELETE, '"locations[i].url" not exists')
wrong("v3", S, "proxy_pass_number", PROXY + ["proxyPass"], 5, '"location[i].proxyPass" must be string')
wrong("v3", S, "proxy_pass_array", PROXY + ["proxyPass"], ["/a"], '"location[i].proxyPass" must be string')
wrong("v3", S, "headers_string", PROXY + ["headers"], "x", '"locations[i].headers" must be array')
wrong("v3", S, "header_number", PROXY + ["headers", 0], 5, "")
wrong("v3", S, "header_name_number", PROXY + ["headers", 0, "name"], 5,
      '"location[i].headers[j].name" must be string')
wrong("v3", S, "header_value_object", PROXY + ["headers", 0, "value"], {},
      'headers[j].value" must be string')
wrong("v3", S, "rewrite_string", REWRITE + ["rewrite"], "x", '"locations[i].rewrite" must be object')
wrong("v3", S, "rewrite_regex_number", REWRITE + ["rewrite", "regex"], 5,
      '"location[i].rewrite.regex" must be string')
wrong("v3", S, "rewrite_replacement_null", REWRITE + ["rewrite", "replacement"], None,
      '"location[i].rewrite.replacement" must be string')
wrong("v3", S, "rewrite_flag_bool", REWRITE + ["rewrite", "flag"], True,
      '"location[i].rewrite.flag" must be string')
wrong("v3", S, "return_string", RETURN + ["return"], "200", '"locations[i].return" must be object')
wrong("v3", S, "return_code_number", RETURN + ["return", "code"], 200,
      '"location[i].return.code" must be string')
wrong("v3", S, "return_body_number", RETURN + ["return", "body"], 5,
      '"location[i].return.body" must be string')
wrong("v3", S, "alias_number", ALIAS + ["alias"], 5, '"location[i].alias" must be string')
wrong("v3", S, "index_array", ALIAS + ["index"], ["index.html"], '"location[i].index" must be string')
wrong("v3", S, "try_files_array", ALIAS + ["try_files"], ["$uri"], '"location[i].try_files" must be string')
wrong("v3", S, "expires_number", ALIAS + ["expires"], 7, '"location[i].expires" must be string')
wrong("v3", S, "proxy_cache_bypass_bool", ALIAS + ["proxy_cache_bypass"], True,
      '"location[i].proxy_cache_bypass" must be string')
wrong("v3", S, "proxy_cache_revalidate_number", ALIAS + ["proxy_cache_revalidate"], 1,
      '"location[i].proxy_cache_revalidate" must be string')
wrong("v3", S, "healthcheck_string", HC, "on", '"healthcheck" must be object')
wrong("v3", S, "healthcheck_handler_number", HC + ["handler"], 5, '"healthcheck.handler" must be string')
wrong("v3", S, "healthcheck_enabled_string", HC + ["enabled"], "true", '"healthcheck.enabled" must be boolean')
wrong("v3", S, "healthcheck_interval_string", HC + ["interval"], "3000", '"healthcheck.interval" must be number')
wrong("v3", S, "healthcheck_rise_array", HC + ["rise"], [2], '"healthcheck.rise" must be number')
wrong("v3", S, "healthcheck_fall_object", HC + ["fall"], {}, '"healthcheck.fall" must be number')
wrong("v3", S, "healthcheck_timeout_null", HC + ["timeout"], None, '"healthcheck.timeout" must be number')
wrong("v3", S, "healthcheck_interval_huge", HC + ["interval"], 10 ** 30, '"healthcheck.interval" must be <= 2147483647')
wrong("v3", S, "healthcheck_interval_above_int32", HC + ["interval"], 2147483648,
      '"healthcheck.interval" must be <= 2147483647')
wrong("v3", S, "healthcheck_default_down_string", HC + ["defaultDown"], "no",
      '"healthcheck.defaultDown" must be boolean')
wrong("v3", S, "healthcheck_disable_fall_count_number", HC + ["disableFallCount"], 1,
      '"healthcheck.disableFallCount" must be boolean')
wrong("v3", S, "healthcheck_port_string", HC + ["port"], "8081", '"healthcheck.port" must be unsigned number')
wrong("v3", S, "healthcheck_port_negative", HC + ["port"], -1, '"healthcheck.port" must be unsigned number')
wrong("v3", S, "sticky_options_string", ["services", 0, "stickyOptions"], "sticky",
      '"stickyOptions" must be object')
wrong("v3", S, "sticky_options_type_missing", ["services", 0, "stickyOptions", "type"], DELETE,
      '"stickyOptions.type" not exists')
wrong("v3", S, "sticky_options_type_number", ["services", 0, "stickyOptions", "type"], 1,
      '"stickyOptions.type" must be string')
wrong("v3", S, "sticky_options_cookie_number", ["services", 0, "stickyOptions", "stickyCookie"], 5,
      '"stickyOptions.stickyCookie" must be string')
wrong("v3", S, "sticky_string", ["services", 1, "sticky"], "yes", '"sticky" must be boolean')
wrong("v3", S, "sticky_cookie_number", ["services", 1, "stickyCookie"], 5, '"stickyCookie" must be string')
wrong("v3", S, "sticky_hash_number", ["services", 2, "stickyOptions", "stickyHash"], 1,
      '"stickyOptions.stickyHash" must be string')
wrong("v3", S, "ssl_string", ["services", 1, "ssl"], "on", '"ssl" must be boolean')
# Values that would leave the output directory or change the structure of the configuration.
wrong("v3", S, "deployment_unit_leaving_output_dir", ["services", 0, "deploymentUnit"], "../x",
      '"deploymentUnit" must not contain "/" or control characters')
wrong("v3", S, "url_newline", PROXY + ["url"], "/a/\nreturn 200;", "must not contain control characters")
wrong("v3", S, "proxy_pass_nul", PROXY + ["proxyPass"], "/a\u0000", "must not contain control characters")
wrong("v3", S, "deployment_unit_dot_dot", ["services", 0, "deploymentUnit"], "..",
      '"deploymentUnit" must not contain "/" or control characters')
wrong("v3", S, "deployment_unit_nul", ["services", 0, "deploymentUnit"], "pay\u0000",
      '"deploymentUnit" must not contain "/" or control characters')
wrong("v3", S, "healthcheck_handler_quote", HC + ["handler"], '/h"; return 200; #',
      '"healthcheck.handler" "/h\\"; return 200; #" must not contain the character "')
wrong("v3", S, "url_quoted_regex_not_closed", PROXY + ["url"], '~ "^/v\\d{2}/',
      "must close the quote it opens")
wrong("v3", S, "rewrite_regex_text_after_quote", REWRITE + ["rewrite", "regex"], '"^/a"{2}',
      "must end where its quoted part ends")
wrong("v3", S, "header_value_carriage_return", PROXY + ["headers", 0, "value"], "a\rb",
      "must not contain control characters")

# --- nodes.json: protocols and node groups -------------------------------------------------------
N = "nodes"
wrong("v3", N, "protocols_missing", ["protocols"], DELETE, '"protocols" section is not exists')
wrong("v3", N, "protocols_string", ["protocols"], "http", "")
wrong("v3", N, "protocols_http_string", ["protocols", "http"], "80", "")
wrong("v3", N, "protocols_http_port_string", ["protocols", "http", "port"], "80",
      '"protocols.http.port" must be number')
wrong("v3", N, "protocols_http_port_huge", ["protocols", "http", "port"], 10 ** 30,
      '"protocols.http.port" is out of range')
wrong("v3", N, "protocols_https_port_bool", ["protocols", "https", "port"], True,
      '"protocols.https.port" must be number')
wrong("v3", N, "protocols_https_cn_number", ["protocols", "https", "cn"], 5,
      '"protocols.https.cn" must be string')
wrong("v3", N, "protocols_https_cn_newline", ["protocols", "https", "cn"], "gw\n.local",
      '"protocols.https.cn" must not contain control characters')
wrong("v3", N, "protocols_https_cn_quote", ["protocols", "https", "cn"], 'gw"; return 200; #',
      '"protocols.https.cn" must not contain the character "')
wrong("v3", N, "api_versions_string", ["services", 0, "apiVersions"], "x", "")
wrong("v3", N, "version_number", ["services", 0, "apiVersions", 0, "version"], 1, "")
wrong("v3", N, "node_groups_missing", ["services", 0, "apiVersions", 0, "nodeGroups"], DELETE,
      '"apiVersions.nodeGroups" does not exists in service')
wrong("v3", N, "node_groups_string", ["services", 0, "apiVersions", 0, "nodeGroups"], "x", "")
wrong("v3", N, "node_group_number", GROUP, 5, "")
wrong("v3", N, "group_name_number", GROUP + ["groupName"], 5, '"groupName" must be string')
wrong("v3", N, "group_name_empty", GROUP + ["groupName"], "", '"groupName" must be not empty string')
wrong("v3", N, "data_centers_string", GROUP + ["dataCenters"], "dc", '"dataCenters" must be array')
wrong("v3", N, "data_center_number", DC, 5, 'element in "dataCenters" must be object')
wrong("v3", N, "data_center_name_number", DC + ["name"], 5, '"name" in "dataCenters"[i] must be string')
wrong("v3", N, "nodes_string", DC + ["nodes"], "10.0.0.1", '"nodes" in "dataCenters"[i] must be array')
wrong("v3", N, "nodes_empty", DC + ["nodes"], [], '"nodes" in "dataCenters"[i] must be not empty array')
wrong("v3", N, "node_number", DC + ["nodes", 0], 10, 'element in "nodes" must be string')
wrong("v3", N, "node_object", DC + ["nodes", 0], {"host": "a"}, 'element in "nodes" must be string')
wrong("v3", N, "openshift_route_number", ROUTE_GROUP + ["openshiftRoute"], 5,
      '"openshiftRoute" must be string')
wrong("v3", N, "openshift_route_empty", ROUTE_GROUP + ["openshiftRoute"], "",
      '"openshiftRoute" must be not empty string')
wrong("v3", N, "group_port_string", ROUTE_GROUP + ["protocols", "http", "port"], "9080",
      'must be number')
wrong("v3", N, "group_port_huge", ROUTE_GROUP + ["protocols", "http", "port"], 10 ** 12,
      'must be <= 2147483647')
wrong("v3", N, "keepalive_string", GROUP + ["keepalive"], "32", '"keepalive" must be unsigned number')
wrong("v3", N, "keepalive_negative", GROUP + ["keepalive"], -1, '"keepalive" must be unsigned number')
wrong("v3", N, "keepalive_float", GROUP + ["keepalive"], 16.5, '"keepalive" must be unsigned number')
wrong("v3", N, "group_protocols_string", ROUTE_GROUP + ["protocols"], "http",
      '"apiVersions[0].nodeGroups[1].protocols" must be object')
wrong("v3", N, "group_protocols_http_number", ROUTE_GROUP + ["protocols", "http"], 9080,
      '"apiVersions[0].nodeGroups[1].protocols.http" must be object')
wrong("v3", N, "group_name_newline", GROUP + ["groupName"], "Main\nA", "must not contain control characters")

# --- routing.json: routing tables ----------------------------------------------------------------
R = "routing"
wrong("v3", R, "routing_missing", ROUTING, DELETE, '"routing" does not exists in service')
wrong("v3", R, "routing_string", ROUTING, "x", '"routing" must be array')
wrong("v3", R, "routing_entry_number", ROUTING + [0], 5, "")
wrong("v3", R, "routes_missing", ROUTING + [0, "routes"], DELETE, '"routes" not exists')
wrong("v3", R, "routes_string", ROUTING + [0, "routes"], "x", '"routes" must be array')
wrong("v3", R, "routes_empty", ROUTING + [0, "routes"], [], '"routes" must be not empty array')
wrong("v3", R, "route_number", ROUTING + [0, "routes", 0], 5, '"routes" must be array with objects')
wrong("v3", R, "route_group_name_number", ROUTING + [0, "routes", 0, "groupName"], 5,
      '"groupName" must be string')
wrong("v3", R, "route_quota_string", ROUTING + [0, "routes", 0, "quota"], "100",
      '"quota" must be unsigned int')
wrong("v3", R, "consumer_string", CONSUMER, "R1", '"consumer" must be object')
wrong("v3", R, "consumer_empty", CONSUMER, {}, 'field "release" or "deploymentUnit" must be in "consumer"')
wrong("v3", R, "consumer_release_number", CONSUMER + ["release"], 2024,
      '"consumer.release" must be string')
wrong("v3", R, "consumer_deployment_unit_number", ROUTING + [2, "consumer", "deploymentUnit"], 5,
      '"consumer.deploymentUnit" must be string')
wrong("v3", R, "consumer_version_number", ROUTING + [2, "consumer", "version"], 1,
      '"consumer.version" must be string')
wrong("v3", R, "consumer_distrib_version_number", CONSUMER + ["distribVersion"], 3,
      '"consumer.distribVersion" must be string')
wrong("v3", R, "default_string", ROUTING + [3, "default"], "true", '"default" must be bool')
wrong("v3", R, "default_missing", ROUTING + [3], DELETE, "default route for VEK not found")
wrong("v3", R, "release_newline", CONSUMER + ["release"], "R1\n}", "must not contain control characters")

# --- limits.json: quotas -------------------------------------------------------------------------
L = "limits"
wrong("v3", L, "quotas_string", ["services", 0, "quotas"], "x", "")
wrong("v3", L, "quota_number", QUOTA, 5, "")
wrong("v3", L, "quota_type_number", QUOTA + ["type"], 1, "")
wrong("v3", L, "quota_type_unknown", QUOTA + ["type"], "rpsmax", "")
wrong("v3", L, "rpslimit_string", QUOTA + ["rpslimit"], "50", "")
wrong("v3", L, "rpslimit_negative", QUOTA + ["rpslimit"], -5, "")
wrong("v3", L, "rpslimit_float", QUOTA + ["rpslimit"], 2.5, "")
wrong("v3", L, "rpslimit_above_int32", DEFAULT_QUOTA + ["rpslimit"], 3000000000, "")
wrong("v3", L, "rpslimit_huge", DEFAULT_QUOTA + ["rpslimit"], 10 ** 30, "")
wrong("v3", L, "consumer_subsystem_number", QUOTA + ["subsystem"], 5, "")
wrong("v3", L, "consumer_deployment_unit_null", QUOTA + ["deploymentUnit"], None, "")
wrong("v3", L, "consumer_subsystem_newline", QUOTA + ["subsystem"], "SHOP\n", "must not contain control characters")

# --- older schemas -------------------------------------------------------------------------------
wrong("v2", "services", "url_number", ["services", 0, "apiVersions", 0, "locations", 0, "url"], 5,
      '"locations[i].url" must be string')
wrong("v2", "services", "deployment_unit_dot_dot", ["services", 0, "deploymentUnit"], "..",
      '"deploymentUnit" must not contain "/" or control characters')
wrong("v2", "nodes", "node_number", ["services", 0, "apiVersions", 0, "nodeGroups", 0, "dataCenters",
                                      0, "nodes", 0], 10, 'element in "nodes" must be string')
wrong("v2", "routing", "routes_string", ["services", 0, "routing", 0, "routes"], "x",
      '"routes" must be array')
wrong("v2", "routing", "consumer_release_number", ["services", 0, "routing", 0, "consumer", "release"],
      1, "")
wrong("v2", "routing", "api_version_release_quote", ["services", 0, "routing", 2, "consumer", "release"],
      'R"3', '"routing[2].consumer.release" "R\\"3" must not contain the character "')
wrong("v2", "limits", "rpslimit_string", ["services", 0, "quotas", 0, "rpslimit"], "5", "")
# Schema 2 with the services document alone: no merge step reads the documents first.
wrong("v2solo", "services", "api_versions_object", ["services", 0, "apiVersions"],
      {"v": {"version": "1.0", "locations": [{"url": "/a"}]}}, '"apiVersions" must be array')
wrong("v2solo", "services", "locations_object", ["services", 0, "apiVersions", 0, "locations"],
      {"a": {"url": "/a"}}, '"apiVersions[0].locations" must be array')
wrong("v2solo", "services", "api_versions_string", ["services", 0, "apiVersions"], "1.0", "")
wrong("v2solo", "services", "url_array", ["services", 0, "apiVersions", 0, "locations", 0, "url"],
      ["/a"], '"locations[i].url" must be string')
wrong("v2solo", "services", "subsystem_null", ["services", 0, "subsystem"], None,
      '"subsystem" must be string')
wrong("v0", "routing", "consumer_number", ["services", 0, "apiVersions", 0, "routing", 0, "consumer"],
      5, "")
wrong("v0", "routing", "api_versions_empty", ["services", 0, "apiVersions"], [], "")
wrong("v0", "routing", "routing_string", ["services", 0, "apiVersions", 0, "routing"], "x", "")
wrong("v0", "services", "deployment_unit_dot", ["services", 0, "deploymentUnit"], ".",
      '"deploymentUnit" must not contain "/" or control characters')
wrong("v0", "nodes", "group_name_number", ["services", 0, "apiVersions", 0, "nodeGroups", 0,
                                            "groupName"], 5, '"groupName" must be string')


def main():
    docs = os.path.join(HERE, "docs")
    shutil.rmtree(docs, ignore_errors=True)
    os.makedirs(docs)
    names = set()
    with open(os.path.join(HERE, "expected.tsv"), "w", encoding="utf-8") as manifest:
        manifest.write("# document\texpected text in standard output (empty: any message)\n")
        for name, content, expected in CASES:
            assert name not in names, name
            names.add(name)
            with open(os.path.join(docs, name), "wb") as f:
                f.write(content)
            manifest.write(f"{name}\t{expected}\n")
    print(f"{len(CASES)} documents")


if __name__ == "__main__":
    main()
