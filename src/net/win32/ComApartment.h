#pragma once

namespace tovrik::net {

// COM initialised for the calling thread for as long as the object lives; uninitialised only
// when this object's initialisation succeeded, so the calls stay balanced.
class ComApartment {
public:
    ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment();

private:
    bool m_initialised = false;
};

} // namespace tovrik::net
