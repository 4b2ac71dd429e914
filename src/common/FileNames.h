#pragma once

// Bare names of the input documents, as messages and results give them whatever paths the
// command line names.
inline const char* const SERVICES_JSON = "services.json";
inline const char* const ROUTING_JSON = "routing.json";
inline const char* const NODES_JSON = "nodes.json";
inline const char* const LIMITS_JSON = "limits.json";
