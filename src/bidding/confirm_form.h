// confirm_form.h — reading the service's bid pages: the confirmation form of a validation answer,
// the confirm request built from it, and the minimum bid of a refused offer.
//
// Input tags are read by their attributes: names match without regard to case, values in double
// quotes, single quotes or none, entities decoded, line breaks inside a tag ignored.
#pragma once

#include <string>
#include <string_view>

namespace TLMainBids {

// The confirmation form of a validation answer: the first form of the page that holds an input
// named exactly "maxbid" and a "confirmbid" control.
struct ConfirmForm {
    bool found = false;
    std::string maxBid;   // the form's "maxbid" value, trimmed
    std::string request;  // the confirm request; "" when the form has no pair before its confirm control
};
ConfirmForm Read_Confirm_Form(std::string_view html);

// The confirm request of a validation answer, without a scheme: the bid host, "/ws/eBayISAPI.dll?"
// and the confirmation form's input pairs in page order up to its confirm control, joined by "&",
// each value percent-encoded; "" when the page holds no confirmation form.
std::string ExtractValidateFormPostStr(std::string_view html);

// The value of the first input tag of `html` named exactly `name`; "" when there is none.
std::string GetInputValue(std::string_view html, std::string_view name);

// The minimum bid that a refused offer page asks for ("The following must be corrected before
// continuing:" ... an amount ... "or more"), without its currency word; "" when the page names
// none. Sets PageText to the page's text, which the amount reader reads.
std::string GetValMinBid(const std::string& html);

// Entity references decoded: &amp; &lt; &gt; &quot; &apos; &nbsp; and numeric ones.
std::string Decode_Html_Entities(std::string_view text);

}  // namespace TLMainBids
