#include <pavonis/host/Installation.h>

#include <system_error>

namespace fs = std::filesystem;

namespace pavonis::installation {

fs::path repertoireProgramme()
{
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty())
        return fs::current_path(ec);
    return exe.parent_path();
}

fs::path repertoirePartage()
{
    return (repertoireProgramme() / ".." / "share" / "pavonis").lexically_normal();
}

std::string repertoireInstallation()
{
    return (repertoirePartage() / "data").string() + static_cast<char>(fs::path::preferred_separator);
}

} // namespace pavonis::installation
