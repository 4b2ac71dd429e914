#include "generator_v3/BuilderBase.h"

BuilderBase::BuilderBase(std::shared_ptr<ConfigHeaderBase> header) : header(std::move(header)) {}

std::string BuilderBase::getConfigHeader() const {
    return header ? header->getConfigHeader() : std::string();
}
