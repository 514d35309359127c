// duty_links.h — one holder per interface of a duty: the object that took the duty on, or a
// stand-in of the interface's own (its defaults) while nobody has.
//
// A part of the program that reaches another through a small interface declares the interface
// with do-nothing defaults; the owner takes the duty on with setDutyLink(this) and gives it back
// with setDutyLink<Interface>(nullptr); callers use dutyLink<Interface>(). UI thread only.
#pragma once

namespace DutyLinks {

namespace detail {
template <class Duty>
Duty*& held() {
    static Duty* duty = nullptr;
    return duty;
}
}  // namespace detail

template <class Duty>
Duty& dutyLink() {
    static Duty none;
    Duty* d = detail::held<Duty>();
    return d ? *d : none;
}

template <class Duty>
void setDutyLink(Duty* duty) {
    detail::held<Duty>() = duty;
}

}  // namespace DutyLinks
