#include "common/Logger.h"

int main() {
    Logger::logError("Bad command line");
    return 1;
}
