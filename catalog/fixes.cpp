#include "catalog/fixes.h"

#include "catalog/catalog.h"

namespace corrivo {
namespace {

FixArgs OsArgs(std::int32_t osVersionCode) {
  FixArgs args;
  args.osVersionCode = osVersionCode;
  return args;
}

FixArgs IEArgs(const std::wstring& ieVersionName) {
  FixArgs args;
  args.ieVersionName = ieVersionName;
  return args;
}

}  // namespace


bool Fix101() { return RunFix(101, FixArgs{}); }
bool Fix102() { return RunFix(102, FixArgs{}); }
bool Fix103() { return RunFix(103, FixArgs{}); }
bool Fix104() { return RunFix(104, FixArgs{}); }
bool Fix105() { return RunFix(105, FixArgs{}); }
bool Fix106() { return RunFix(106, FixArgs{}); }
bool Fix107(std::int32_t osVersionCode) { return RunFix(107, OsArgs(osVersionCode)); }
bool Fix108() { return RunFix(108, FixArgs{}); }
bool Fix109() { return RunFix(109, FixArgs{}); }
bool Fix110() { return RunFix(110, FixArgs{}); }
bool Fix201(std::int32_t osVersionCode) { return RunFix(201, OsArgs(osVersionCode)); }
bool Fix202(const std::wstring& ieVersionName) { return RunFix(202, IEArgs(ieVersionName)); }
bool Fix203() { return RunFix(203, FixArgs{}); }
bool Fix204() { return RunFix(204, FixArgs{}); }
bool Fix205(const std::wstring& ieVersionName) { return RunFix(205, IEArgs(ieVersionName)); }
bool Fix206() { return RunFix(206, FixArgs{}); }
bool Fix207() { return RunFix(207, FixArgs{}); }
bool Fix208() { return RunFix(208, FixArgs{}); }
bool Fix209() { return RunFix(209, FixArgs{}); }
bool Fix210() { return RunFix(210, FixArgs{}); }
bool Fix301() { return RunFix(301, FixArgs{}); }
bool Fix302(std::int32_t osVersionCode) { return RunFix(302, OsArgs(osVersionCode)); }
bool Fix303() { return RunFix(303, FixArgs{}); }
bool Fix304(bool) { return RunFix(304, FixArgs{}); }
bool Fix305() { return RunFix(305, FixArgs{}); }
bool Fix306() { return RunFix(306, FixArgs{}); }
bool Fix307() { return RunFix(307, FixArgs{}); }
bool Fix308() { return RunFix(308, FixArgs{}); }
bool Fix309() { return RunFix(309, FixArgs{}); }
bool Fix310() { return RunFix(310, FixArgs{}); }
bool Fix401() { return RunFix(401, FixArgs{}); }
bool Fix402() { return RunFix(402, FixArgs{}); }
bool Fix403() { return RunFix(403, FixArgs{}); }
bool Fix404() { return RunFix(404, FixArgs{}); }
bool Fix405() { return RunFix(405, FixArgs{}); }
bool Fix406() { return RunFix(406, FixArgs{}); }
bool Fix407(std::int32_t osVersionCode) { return RunFix(407, OsArgs(osVersionCode)); }
bool Fix408(std::int32_t osVersionCode) { return RunFix(408, OsArgs(osVersionCode)); }
bool Fix409() { return RunFix(409, FixArgs{}); }
bool Fix410() { return RunFix(410, FixArgs{}); }
bool Fix501() { return RunFix(501, FixArgs{}); }
bool Fix502() { return RunFix(502, FixArgs{}); }
bool Fix503() { return RunFix(503, FixArgs{}); }
bool Fix504() { return RunFix(504, FixArgs{}); }
bool Fix505(bool) { return RunFix(505, FixArgs{}); }
bool Fix506() { return RunFix(506, FixArgs{}); }
bool Fix507() { return RunFix(507, FixArgs{}); }
bool Fix508() { return RunFix(508, FixArgs{}); }
bool Fix509() { return RunFix(509, FixArgs{}); }
bool Fix510() { return RunFix(510, FixArgs{}); }
bool Fix601() { return RunFix(601, FixArgs{}); }
bool Fix602() { return RunFix(602, FixArgs{}); }
bool Fix603() { return RunFix(603, FixArgs{}); }
bool Fix604() { return RunFix(604, FixArgs{}); }
bool Fix605() { return RunFix(605, FixArgs{}); }
bool Fix606() { return RunFix(606, FixArgs{}); }
bool Fix607(std::int32_t osVersionCode) { return RunFix(607, OsArgs(osVersionCode)); }
bool Fix608(std::int32_t osVersionCode) { return RunFix(608, OsArgs(osVersionCode)); }
bool Fix609() { return RunFix(609, FixArgs{}); }
bool Fix610() { return RunFix(610, FixArgs{}); }
bool Fix611() { return RunFix(611, FixArgs{}); }
bool Fix612() { return RunFix(612, FixArgs{}); }
bool Fix613() { return RunFix(613, FixArgs{}); }
bool Fix614() { return RunFix(614, FixArgs{}); }
bool Fix615() { return RunFix(615, FixArgs{}); }
bool Fix616() { return RunFix(616, FixArgs{}); }
bool Fix701(std::int32_t osVersionCode) { return RunFix(701, OsArgs(osVersionCode)); }
bool Fix702(std::int32_t osVersionCode) { return RunFix(702, OsArgs(osVersionCode)); }

bool Check101() { return RunCheck(101, FixArgs{}); }
bool Check102() { return RunCheck(102, FixArgs{}); }
bool Check103() { return RunCheck(103, FixArgs{}); }
bool Check104() { return RunCheck(104, FixArgs{}); }
bool Check105() { return RunCheck(105, FixArgs{}); }
bool Check106() { return RunCheck(106, FixArgs{}); }
bool Check107(std::int32_t osVersionCode) { return RunCheck(107, OsArgs(osVersionCode)); }
bool Check108() { return RunCheck(108, FixArgs{}); }
bool Check109() { return RunCheck(109, FixArgs{}); }
bool Check110() { return RunCheck(110, FixArgs{}); }
bool Check201() { return RunCheck(201, FixArgs{}); }
bool Check203() { return RunCheck(203, FixArgs{}); }
bool Check206() { return RunCheck(206, FixArgs{}); }
bool Check210() { return RunCheck(210, FixArgs{}); }
bool Check301() { return RunCheck(301, FixArgs{}); }
bool Check302(std::int32_t osVersionCode) { return RunCheck(302, OsArgs(osVersionCode)); }
bool Check303() { return RunCheck(303, FixArgs{}); }
bool Check304() { return RunCheck(304, FixArgs{}); }
bool Check305() { return RunCheck(305, FixArgs{}); }
bool Check307() { return RunCheck(307, FixArgs{}); }
bool Check308() { return RunCheck(308, FixArgs{}); }
bool Check401() { return RunCheck(401, FixArgs{}); }
bool Check402() { return RunCheck(402, FixArgs{}); }
bool Check403() { return RunCheck(403, FixArgs{}); }
bool Check404() { return RunCheck(404, FixArgs{}); }
bool Check406() { return RunCheck(406, FixArgs{}); }
bool Check407(std::int32_t osVersionCode) { return RunCheck(407, OsArgs(osVersionCode)); }
bool Check410() { return RunCheck(410, FixArgs{}); }
bool Check502() { return RunCheck(502, FixArgs{}); }
bool Check503() { return RunCheck(503, FixArgs{}); }
bool Check508() { return RunCheck(508, FixArgs{}); }
bool Check509() { return RunCheck(509, FixArgs{}); }
bool Check510() { return RunCheck(510, FixArgs{}); }

}  // namespace corrivo
