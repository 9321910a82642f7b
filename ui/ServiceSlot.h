#pragma once
// One replaceable service: the installed implementation, or a default made on first use.
#include <memory>

namespace mirado {

template <class Service, class Default>
class ServiceSlot {
public:
    static Service& current()
    {
        auto& s = slot();
        if (!s)
            s = std::make_shared<Default>();
        return *s;
    }
    static std::shared_ptr<Service> install(std::shared_ptr<Service> service)
    {
        auto old = std::move(slot());
        slot() = std::move(service);
        return old;
    }

private:
    static std::shared_ptr<Service>& slot()
    {
        static std::shared_ptr<Service> s;
        return s;
    }
};

} // namespace mirado
