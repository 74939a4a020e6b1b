#include "module/plugin_info.h"
#include "module/operation_table.h"

namespace {

const char module_name[] = "Kelvaro";
const char maker_name[] = "TAVIREK";
// ボールジョイントをスライダで操作するプラグイン
const char description[] =
    "\x83\x7b\x81\x5b\x83\x8b\x83\x57\x83\x87\x83\x43\x83\x93\x83\x67\x82\xf0\x83\x58\x83\x89\x83\x43"
    "\x83\x5f\x82\xc5\x91\x80\x8d\xec\x82\xb7\x82\xe9\x83\x76\x83\x89\x83\x4f\x83\x43\x83\x93";

}  // namespace

void fill_plugin_info(plugin_info* info)
{
    info->number = static_cast<int32_t>(host_fixed_number);
    info->second_number = 36090;
    info->version_major = 1;
    info->version_minor = 3;
    info->version_patch = 0;
    info->version_build = 0;
    info->name = module_name;
    info->maker = maker_name;
    info->maker_again = maker_name;
    info->description = description;
}
