#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "about/registry.h"

namespace ritmova::testing {

// A registry held in memory. It behaves as the system's does where GetKeyValue can tell:
// unknown keys and values fail, a value larger than the buffer fails, and it records the
// access masks asked for and every key handle closed.
class InMemoryRegistry final : public Registry {
  public:
    struct Value {
        std::uint32_t type;
        std::vector<char> bytes;
    };

    void SetValue(RegistryRoot root, const std::string& keyPath, const std::string& name,
                  Value value) {
        keys_[{root, keyPath}][name] = std::move(value);
    }

    void SetString(RegistryRoot root, const std::string& keyPath, const std::string& name,
                   const std::string& text) {
        std::vector<char> bytes(text.begin(), text.end());
        bytes.push_back('\0');
        SetValue(root, keyPath, name, {kRegistryString, std::move(bytes)});
    }

    bool OpenKey(RegistryRoot root, std::string_view keyPath, std::uint32_t accessMask,
                 RegistryKey& key) override {
        accessMasks.push_back(accessMask);
        const auto found = keys_.find({root, std::string(keyPath)});
        if (found == keys_.end()) {
            key = 0;
            return false;
        }
        key = nextHandle_++;
        open_[key] = &found->second;
        return true;
    }

    bool QueryValue(RegistryKey key, std::string_view valueName, std::uint32_t& type,
                    std::span<char> buffer, std::uint32_t& size) override {
        const auto openKey = open_.find(key);
        if (openKey == open_.end()) return false;
        const auto value = openKey->second->find(std::string(valueName));
        if (value == openKey->second->end()) return false;
        if (value->second.bytes.size() > buffer.size()) return false;
        std::copy(value->second.bytes.begin(), value->second.bytes.end(), buffer.begin());
        type = value->second.type;
        size = static_cast<std::uint32_t>(value->second.bytes.size());
        return true;
    }

    void CloseKey(RegistryKey key) override {
        closed.push_back(key);
        open_.erase(key);
    }

    bool AllKeysClosed() const { return open_.empty(); }

    std::vector<std::uint32_t> accessMasks;
    std::vector<RegistryKey> closed;

  private:
    using Values = std::map<std::string, Value>;
    std::map<std::tuple<RegistryRoot, std::string>, Values> keys_;
    std::map<RegistryKey, Values*> open_;
    RegistryKey nextHandle_ = 1;
};

}  // namespace ritmova::testing
