#pragma once
// The head rows of a live log, for logs written by hand.
#include <string>

namespace vyk::test {

inline const std::string kLogHeader =
    "time,input count,input,output count,output,offset 1,offset 2,offset 3,offset 4,entry\r\n";
inline const std::string kLogHeadVolts =
    kLogHeader + "s,count,V,count,V,count,count,count,count,entry\r\n";

}  // namespace vyk::test
