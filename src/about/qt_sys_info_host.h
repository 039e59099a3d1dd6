#pragma once

#include <memory>

#include "about/system_info.h"

class QWidget;

namespace ritmova {

// StartSysInfo's services from the operating system, through Qt; messages are shown over
// `parent`.
class QtSysInfoHost final : public SysInfoHost {
  public:
    explicit QtSysInfoHost(QWidget* parent);

    Registry& SystemRegistry() override { return *registry_; }
    bool FileExists(const std::string& path) override;
    std::optional<std::string> FindExecutable(std::string_view name) override;
    bool StartDetached(const std::string& path) override;
    void ShowMessage(std::string_view text, std::string_view caption) override;

  private:
    QWidget* parent_;
    std::unique_ptr<Registry> registry_;
};

}  // namespace ritmova
