// nginx serves requests the way the documents say. nginx runs on loopback ports with the files
// of one ostrel run, wrapped by scripts/nginx-check; small server blocks on other loopback ports
// stand for the node groups and answer with their group's name and the URI they received.
// Requests are few and bounded, nothing leaves 127.0.0.1, and nginx is stopped at the end,
// also when a check fails.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "common/Json.h"
#include "support/NginxSupport.h"
#include "support/TestSupport.h"

extern char** environ;

namespace fs = std::filesystem;
using namespace testsupport;
using json = Json;

namespace {

// A loopback port that was free a moment ago.
int freePort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (fd >= 0) {
            close(fd);
        }
        return -1;
    }
    close(fd);
    return ntohs(address.sin_port);
}

int connectTo(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) {
        return -1;
    }
    timeval timeout{5, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

struct Reply {
    int status = 0;
    std::map<std::string, std::string> headers;  // names in lower case
    std::string body;
};

// One HTTP/1.0 GET to 127.0.0.1:port; the connection closes after the reply.
Reply get(int port, const std::string& path,
          const std::vector<std::pair<std::string, std::string>>& headers = {}) {
    Reply reply;
    const int fd = connectTo(port);
    if (fd < 0) {
        return reply;
    }
    std::string request = "GET " + path + " HTTP/1.0\r\nHost: gateway.test\r\n";
    for (const auto& header : headers) {
        request += header.first + ": " + header.second + "\r\n";
    }
    request += "\r\n";
    if (send(fd, request.data(), request.size(), 0) != static_cast<ssize_t>(request.size())) {
        close(fd);
        return reply;
    }
    std::string raw;
    char buffer[4096];
    ssize_t count = 0;
    while ((count = recv(fd, buffer, sizeof buffer, 0)) > 0) {
        raw.append(buffer, static_cast<size_t>(count));
    }
    close(fd);
    const std::string::size_type end = raw.find("\r\n\r\n");
    if (raw.compare(0, 9, "HTTP/1.1 ") != 0 || end == std::string::npos) {
        return reply;
    }
    reply.status = std::stoi(raw.substr(9, 3));
    reply.body = raw.substr(end + 4);
    std::istringstream lines(raw.substr(0, end));
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line)) {
        const std::string::size_type colon = line.find(':');
        if (colon == std::string::npos) {
            continue;
        }
        std::string name = line.substr(0, colon);
        for (char& c : name) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        std::string value = line.substr(colon + 1);
        value.erase(0, value.find_first_not_of(' '));
        if (!value.empty() && value.back() == '\r') {
            value.pop_back();
        }
        reply.headers[name] = value;
    }
    return reply;
}

// nginx in the foreground as one process; stopped by the destructor.
class NginxProcess {
public:
    NginxProcess(const std::string& prefix) : prefix(prefix) {
        std::vector<std::string> args = {nginxBinary(),
                                         "-p",
                                         prefix + "/",
                                         "-c",
                                         prefix + "/conf/nginx.conf",
                                         "-e",
                                         prefix + "/logs/error.log",
                                         "-g",
                                         "daemon off; master_process off;"};
        std::vector<char*> argv;
        for (auto& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        const std::string log = prefix + "/logs/stderr.log";
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT, 0644);
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
    }

    ~NginxProcess() {
        if (pid <= 0) {
            return;
        }
        kill(pid, SIGQUIT);  // graceful stop
        for (int i = 0; i < 100; ++i) {
            if (waitpid(pid, nullptr, WNOHANG) == pid) {
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }

    // Waits until port accepts connections, at most five seconds; false when nginx ended.
    bool waitFor(int port) {
        for (int i = 0; i < 100 && pid > 0; ++i) {
            if (waitpid(pid, nullptr, WNOHANG) == pid) {
                pid = -1;
                return false;
            }
            const int fd = connectTo(port);
            if (fd >= 0) {
                close(fd);
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    std::string logs() const {
        return readFile(prefix + "/logs/stderr.log") + readFile(prefix + "/logs/error.log");
    }

private:
    std::string prefix;
    pid_t pid = -1;
};

const std::vector<std::string> k_groups = {"Main-A", "Canary", "Next"};

}  // namespace

TEST(NginxLiveTest, RequestsReachTheUpstreamsAndLocationsThatTheDocumentsName) {
    OSTREL_REQUIRE_NGINX_OR_SKIP();
    std::vector<int> ports;
    for (int i = 0; i < 5; ++i) {
        ports.push_back(freePort());
        ASSERT_GT(ports.back(), 0);
    }
    const int gateway = ports[0];
    const int gatewayHttps = ports[1];
    TempDir dir;
    fs::create_directories(dir.path() + "/files");
    std::ofstream(dir.path() + "/files/hello.txt") << "hello from alias\n";

    // One service whose three node groups each stand on their own backend port.
    json nodeGroups = json::array();
    std::string backends;
    for (size_t g = 0; g < k_groups.size(); ++g) {
        const int port = ports[2 + g];
        nodeGroups.push_back({{"groupName", k_groups[g]},
                              {"dataCenters", {{{"name", "dc"}, {"nodes", {"127.0.0.1"}}}}},
                              {"protocols", {{"http", {{"port", port}}}}},
                              {"keepalive", 4}});
        backends += "server {\n    listen 127.0.0.1:" + std::to_string(port) +
                    ";\n    location / {\n        return 200 \"" + k_groups[g] +
                    " $request_uri\\n\";\n    }\n}\n";
    }
    std::ofstream(dir.path() + "/backends.conf") << backends;
    const json key = {{"subsystem", "PAY"}, {"deploymentUnit", "pay-gate.main"}};
    json service = key;
    service["usedGateways"] = {"gw-live"};  // the limits merge needs it
    service["stickyOptions"] = {{"type", "ip_hash"}};
    service["healthcheck"] = {{"enabled", true},  {"handler", "/health/"},
                              {"interval", 3000}, {"rise", 2},
                              {"fall", 3},        {"timeout", 1000}};
    service["apiVersions"] = {
        {{"version", "1.0"},
         {"locations",
          {{{"url", "/api/"}, {"headers", {{{"name", "X-Gateway"}, {"value", "ostrel-live"}}}}},
           {{"url", "/old/"},
            {"rewrite", {{"regex", "^/old/(.*)$"}, {"replacement", "/new/$1"}, {"flag", "break"}}}},
           {{"url", "= /ping"}, {"return", {{"code", "200"}, {"body", "pong"}}}},
           {{"url", "/files/"}, {"alias", dir.path() + "/files/"}}}}}};
    json node = key;
    node["apiVersions"] = {{{"version", "1.0"}, {"nodeGroups", nodeGroups}}};
    json routed = key;
    routed["routing"] = {
        {{"consumer", {{"release", "R1"}}}, {"routes", {{{"groupName", "Canary"}}}}},
        {{"consumer", {{"release", "R2"}}}, {"routes", {{{"groupName", "Next"}}}}},
        // A consumer that names a deployment unit gives no map line.
        {{"consumer", {{"release", "R3"}, {"deploymentUnit", "shop-front"}}},
         {"routes", {{{"groupName", "Next"}}}}},
        {{"default", true}, {"routes", {{{"groupName", "Main-A"}}}}}};
    json limited = key;
    limited["quotas"] = {{{"type", "rpsbyconsumer"},
                          {"subsystem", "SHOP"},
                          {"deploymentUnit", "shop-front"},
                          {"rpslimit", 1}},
                         {{"type", "rpsdefault"}, {"rpslimit", 10000}}};
    auto write = [&](const std::string& name, const json& services, bool protocols) {
        json document = {{"schema_version", "3"}, {"services", json::array({services})}};
        if (protocols) {
            document["protocols"] = {{"http", {{"port", 80}}}};
        }
        std::ofstream(dir.path() + "/" + name) << document.dump(2);
    };
    write("services.json", service, false);
    write("nodes.json", node, true);
    write("routing.json", routed, false);
    write("limits.json", limited, false);

    const std::string out = dir.path() + "/out";
    fs::create_directory(out);
    const RunOutput run = runOstrel({"-s", "services.json", "-n", "nodes.json", "-r",
                                     "routing.json", "-l", "limits.json", "-o", out},
                                    dir.path());
    ASSERT_EQ(0, run.status) << run.out;

    const std::string prefix = dir.path() + "/prefix";
    const CommandOutput check =
        runNginxCheck(out, {"--prefix", prefix, "--listen", "127.0.0.1:" + std::to_string(gateway),
                            "--listen-https", "127.0.0.1:" + std::to_string(gatewayHttps),
                            "--http-include", dir.path() + "/backends.conf"});
    ASSERT_EQ(0, check.status) << check.output;

    NginxProcess nginx(prefix);
    ASSERT_TRUE(nginx.waitFor(gateway)) << nginx.logs();
    for (size_t g = 0; g < k_groups.size(); ++g) {
        ASSERT_TRUE(nginx.waitFor(ports[2 + g])) << nginx.logs();
    }

    // Routing: a consumer release reaches its group; no header, an unknown release, and a
    // release whose only entry names a deployment unit reach the default group.
    Reply reply = get(gateway, "/api/x");
    EXPECT_EQ(200, reply.status) << nginx.logs();
    EXPECT_EQ("Main-A /api/x\n", reply.body);
    EXPECT_EQ("ostrel-live", reply.headers["x-gateway"]);
    EXPECT_EQ("Canary /api/x\n", get(gateway, "/api/x", {{"zul-Release", "R1"}}).body);
    EXPECT_EQ("Next /api/y?q=1\n", get(gateway, "/api/y?q=1", {{"zul-Release", "R2"}}).body);
    EXPECT_EQ("Main-A /api/x\n", get(gateway, "/api/x", {{"zul-Release", "R9"}}).body);
    EXPECT_EQ("Main-A /api/x\n", get(gateway, "/api/x", {{"zul-Release", "R3"}}).body);

    // A rewrite takes effect before the request is passed on.
    EXPECT_EQ("Canary /new/abc\n", get(gateway, "/old/abc", {{"zul-Release", "R1"}}).body);

    // A return location answers its code and body; an alias location serves a file.
    reply = get(gateway, "/ping");
    EXPECT_EQ(200, reply.status);
    EXPECT_EQ("pong", reply.body);
    reply = get(gateway, "/files/hello.txt");
    EXPECT_EQ(200, reply.status);
    EXPECT_EQ("hello from alias\n", reply.body);

    // SHOP/shop-front may send 1 request a second with a burst of 10: some of 15 quick
    // requests get nginx's limit response (503). (A proxied location: nginx answers a return
    // location before it applies limits.) Another consumer, limited only by the default
    // rate, is not affected.
    const std::vector<std::pair<std::string, std::string>> shop = {
        {"zul-subsystemcode", "SHOP"}, {"zul-deploymentunit", "shop-front"}};
    const std::vector<std::pair<std::string, std::string>> crm = {
        {"zul-subsystemcode", "CRM"}, {"zul-deploymentunit", "crm-api"}};
    int shopPassed = 0;
    int shopLimited = 0;
    for (int i = 0; i < 15; ++i) {
        reply = get(gateway, "/api/limit", shop);
        if (reply.status == 200) {
            ++shopPassed;
        } else if (reply.status == 503) {
            ++shopLimited;
            EXPECT_NE(std::string::npos, reply.body.find("503 Service Temporarily Unavailable"));
        }
    }
    EXPECT_GE(shopPassed, 10);
    EXPECT_GE(shopLimited, 1) << readFile(out + "/pay-gate.main.limits.vek.conf")
                              << readFile(out + "/pay-gate.main.location.vek.conf") << nginx.logs();
    EXPECT_EQ(15, shopPassed + shopLimited);
    // The default rate (10000 a second, burst 10) lets 10 requests through per millisecond, and
    // nginx counts in whole milliseconds: requests paced 2 ms apart never meet it, however fast
    // the machine answers (unpaced, 12 requests within one millisecond would get 503).
    for (int i = 0; i < 15; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        EXPECT_EQ(200, get(gateway, "/api/limit", crm).status) << "request " << i;
    }
}
