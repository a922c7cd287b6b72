#include "Installation.h"

#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace pavonis::installation {

fs::path repertoireProgramme()
{
    std::error_code ec;
#if defined(_WIN32)
    wchar_t tampon[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, tampon, MAX_PATH);
    fs::path exe(std::wstring(tampon, n));
#else
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
#endif
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
