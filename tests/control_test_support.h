// Shared set-up of the control tests: a control in a headless container with a headless movie
// host and a clock fixed at 12:34:56.78, and the same with the headless OS seam for capturing.
#pragma once

#include "control/Plotara.h"
#include "control/PlotaraOcxModule.h"
#include "core/ErrorTrap.h"
#include "core_test_support.h"
#include "file_test_support.h"
#include "platform/headless/FixedClock.h"
#include "platform/headless/HeadlessContainer.h"
#include "platform/headless/HeadlessMovieHost.h"
#include "platform/headless/HeadlessOsApi.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <unistd.h>

namespace plotara::test {

// The cache-breaker text of the fixed clock.
inline const String timer = L"45296.78";

// Host is the movie host's type (a test double in the fault and render tests).
template <class Host>
struct HostRig {
    HeadlessContainer container;
    Host* host = nullptr;
    std::shared_ptr<FixedClock> clock = std::make_shared<FixedClock>(45296.78f);
    std::unique_ptr<Plotara> control;

    explicit HostRig(bool runMode = true) {
        container.setUserMode(runMode);
        auto movieHost = std::make_unique<Host>();
        host = movieHost.get();
        control = std::make_unique<Plotara>(container, std::move(movieHost), clock);
        container.bind({[this] { control->onShow(); }, [this] { control->onResize(); },
                        [this] { control->onHide(); }, [this] { control->onAmbientChanged(); }});
    }
    Plotara& operator*() { return *control; }
    Plotara* operator->() { return control.get(); }
    // The last movie the control wrote, "" when none.
    String lastMovie() const { return host->movies().empty() ? String() : host->movies().back(); }
    void clear() {
        container.clearRecords();
        host->clearRecords();
    }
};
using ControlRig = HostRig<HeadlessMovieHost>;

// A 37 x 23 run-mode control showing a movie (odd sizes exercise the BMP row padding), with the
// headless OS seam installed and the window attached to the movie host.
struct CaptureRig : ControlRig {
    std::shared_ptr<HeadlessOsApi> os = std::make_shared<HeadlessOsApi>();
    std::shared_ptr<OsApi> previous;
    TempDir temp;
    std::filesystem::path folder = temp.path();

    CaptureRig() {
        previous = installOsApi(os);
        ResetSaveImageDialog();
        os->attachWindow(container.hWnd(), *host);
        container.resize(37, 23);
        host->put_Movie(L"file:///charts/Column3D.swf");
        clear();
    }
    ~CaptureRig() {
        installOsApi(previous);
        ResetSaveImageDialog();
    }
    String file(const std::string& name) const { return fromUtf8((folder / name).string()); }
    void answer(const String& name, Long filterIndex = 0, bool overwrite = true) {
        os->queueFileAnswer(FileDialogAnswer{false, name, filterIndex, overwrite});
    }
};

// A file that exists for the life of the object, in the test's temporary folder.
class TempFile {
public:
    explicit TempFile(const std::string& name, const std::string& content = "<chart></chart>")
        // The process id keeps tests that ctest runs side by side off each other's files.
        : path_(std::filesystem::temp_directory_path() /
                ("plotara_control_" + std::to_string(::getpid()) + "_" + name)) {
        std::ofstream(path_) << content;
    }
    ~TempFile() { std::filesystem::remove(path_); }
    String path() const { return fromUtf8(path_.string()); }

private:
    std::filesystem::path path_;
};

// Points the machine registry at a file holding the given chart folder (none: no value).
class Registry {
public:
    explicit Registry(const std::optional<std::string>& chartsPath)
        : file_("registry.reg",
                "Windows Registry Editor Version 5.00\r\n\r\n"
                "[HKEY_LOCAL_MACHINE\\Software\\Quenmark\\Plotarix\\1.0.0]\r\n" +
                    (chartsPath ? "\"ChartsPath\"=\"" + *chartsPath + "\"\r\n" : std::string())) {
        ::setenv("PLOTARIX_REGISTRY", toUtf8(file_.path()).c_str(), 1);
    }
    ~Registry() { ::unsetenv("PLOTARIX_REGISTRY"); }

private:
    TempFile file_;
};

} // namespace plotara::test
