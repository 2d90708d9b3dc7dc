#pragma once
// A registry for tests that passes every call on to another one, notes each
// call when asked to, and runs a step of the test's own just before the key is
// closed (another program saving the file meanwhile, say). Without another
// registry it is an empty store that opens every key, takes every value and
// reports the repair it is given.
#include "platform/Utf8.h"
#include "settings/IRegistry.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class ForwardingRegistry : public settings::IRegistry {
public:
    explicit ForwardingRegistry(std::unique_ptr<settings::IRegistry> inner = nullptr) : m_inner(std::move(inner)) {}
    ~ForwardingRegistry() override { note("freigeben"); }

    // Each call as a line: "OpenKey <path>[ +create]", "Info <name>", "Lesen <name>",
    // "Setzen <name> <type> <bytes>", "CloseKey", and "freigeben" when it goes.
    std::vector<std::string>* log = nullptr;
    // Runs once, before the next CloseKey is passed on.
    std::function<void()> beforeClosing;
    // What Repair() reports without another registry.
    std::optional<settings::RegRepair> repair;

    bool OpenKey(std::u16string_view path, bool canCreate) override
    {
        note("OpenKey " + platform::Utf16ToUtf8(path) + (canCreate ? " +create" : ""));
        return !m_inner || m_inner->OpenKey(path, canCreate);
    }
    bool CloseKey() override
    {
        note("CloseKey");
        if (beforeClosing)
            std::exchange(beforeClosing, {})();
        return !m_inner || m_inner->CloseKey();
    }
    std::optional<settings::RegRepair> Repair() const override { return m_inner ? m_inner->Repair() : repair; }
    std::optional<settings::RegValueInfo> QueryValueInfo(std::u16string_view name) override
    {
        note("Info " + platform::Utf16ToUtf8(name));
        return m_inner ? m_inner->QueryValueInfo(name) : std::nullopt;
    }
    std::optional<settings::RegValueData> QueryValue(std::u16string_view name, std::uint32_t maxBytes) override
    {
        note("Lesen " + platform::Utf16ToUtf8(name));
        return m_inner ? m_inner->QueryValue(name, maxBytes) : std::nullopt;
    }
    bool SetValue(std::u16string_view name, std::uint32_t type, std::span<const std::uint8_t> data) override
    {
        note("Setzen " + platform::Utf16ToUtf8(name) + " " + std::to_string(type) + " " + std::to_string(data.size()));
        return !m_inner || m_inner->SetValue(name, type, data);
    }

private:
    void note(std::string line)
    {
        if (log)
            log->push_back(std::move(line));
    }

    std::unique_ptr<settings::IRegistry> m_inner;
};
