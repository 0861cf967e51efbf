// Every repair and check under its own name, with the argument each one takes. These are thin
// wrappers over RunFix/RunCheck for callers that name one repair.
#pragma once

#include <cstdint>
#include <string>

namespace corrivo {

// What 205 writes as "Start Page" when the home-page protection component is absent or
// refuses: a blank page, which needs no network and opens no site the user did not choose.
constexpr const wchar_t* kDefaultHomePage = L"about:blank";


// Fix<ID>: true when the repair was carried out.
bool Fix101();
bool Fix102();
bool Fix103();
bool Fix104();
bool Fix105();
bool Fix106();
bool Fix107(std::int32_t osVersionCode);
bool Fix108();
bool Fix109();
bool Fix110();
bool Fix201(std::int32_t osVersionCode);
bool Fix202(const std::wstring& ieVersionName);
bool Fix203();
bool Fix204();
bool Fix205(const std::wstring& ieVersionName);
bool Fix206();
bool Fix207();
bool Fix208();
bool Fix209();
bool Fix210();
bool Fix301();
bool Fix302(std::int32_t osVersionCode);
bool Fix303();
bool Fix304(bool flag);  // every caller passes false; that is the one behaviour
bool Fix305();
bool Fix306();
bool Fix307();
bool Fix308();
bool Fix309();
bool Fix310();
bool Fix401();
bool Fix402();
bool Fix403();
bool Fix404();
bool Fix405();
bool Fix406();
bool Fix407(std::int32_t osVersionCode);
bool Fix408(std::int32_t osVersionCode);
bool Fix409();
bool Fix410();
bool Fix501();
bool Fix502();
bool Fix503();
bool Fix504();
bool Fix505(bool flag);  // every caller passes false; that is the one behaviour
bool Fix506();
bool Fix507();
bool Fix508();
bool Fix509();
bool Fix510();
bool Fix601();
bool Fix602();
bool Fix603();
bool Fix604();
bool Fix605();
bool Fix606();
bool Fix607(std::int32_t osVersionCode);
bool Fix608(std::int32_t osVersionCode);
bool Fix609();
bool Fix610();
bool Fix611();
bool Fix612();
bool Fix613();
bool Fix614();
bool Fix615();
bool Fix616();
bool Fix701(std::int32_t osVersionCode);
bool Fix702(std::int32_t osVersionCode);

// Check<ID>: true when the problem is present. Reads only.
bool Check101();
bool Check102();
bool Check103();
bool Check104();
bool Check105();
bool Check106();
bool Check107(std::int32_t osVersionCode);
bool Check108();
bool Check109();
bool Check110();
bool Check201();
bool Check203();
bool Check206();
bool Check210();
bool Check301();
bool Check302(std::int32_t osVersionCode);
bool Check303();
bool Check304();
bool Check305();
bool Check307();
bool Check308();
bool Check401();
bool Check402();
bool Check403();
bool Check404();
bool Check406();
bool Check407(std::int32_t osVersionCode);
bool Check410();
bool Check502();
bool Check503();
bool Check508();
bool Check509();
bool Check510();

}  // namespace corrivo
