#include "clean/CleanConfig.h"

bool cleanNginxConfFile(const std::string& input, const std::string& output,
                        const std::string& directory) {
    (void)input;
    (void)output;
    (void)directory;
    return false;
}
