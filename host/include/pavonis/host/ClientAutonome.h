#pragma once

#include <pavonis/hostapi/IClient.h>

namespace pavonis {

// The stand-alone host's client object.
class ClientAutonome final : public IClient {
public:
    ClientAutonome(std::string code, std::string nomPrenom)
        : code_(std::move(code)), nomPrenom_(std::move(nomPrenom))
    {}
    std::string Code() override { return code_; }
    std::string NomPrenom() override { return nomPrenom_; }

private:
    std::string code_, nomPrenom_;
};

} // namespace pavonis
