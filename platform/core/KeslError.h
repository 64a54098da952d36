#pragma once

#include <stdexcept>
#include <string>

// Base of every exception the component library raises; it carries only a message.
class EKeslError : public std::runtime_error
{
public:
    explicit EKeslError(const std::string &message) : std::runtime_error(message) { }
};
