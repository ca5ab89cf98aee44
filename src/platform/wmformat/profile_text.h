#pragma once
// The text of a saved profile: the runtime's XML profile form, of which this reads what a
// profile holds. Names of elements and attributes are matched in any case; other attributes
// and elements are passed over. For example:
//
//   <profile version="589824" name="Custom Profile">
//     <streamconfig majortype="{73647561-0000-0010-8000-00AA00389B71}" streamnumber="1"
//                   streamname="Audio Stream" inputname="Audio" bitrate="128000">
//       <wmmediatype subtype="{00000161-0000-0010-8000-00AA00389B71}" bfixedsizesamples="1"
//                    btemporalcompression="0" lsamplesize="743">
//         <waveformatex wFormatTag="353" nChannels="2" nSamplesPerSec="44100"
//                       nAvgBytesPerSec="16000" nBlockAlign="743" wBitsPerSample="16"
//                       codecdata="00000000010000000000"/>
//       </wmmediatype>
//     </streamconfig>
//     <streamconfig majortype="{73646976-0000-0010-8000-00AA00389B71}" streamnumber="2"
//                   streamname="Video Stream" inputname="Video" bitrate="798720">
//       <videomediaprops maxkeyframespacing="80000000" quality="0"/>
//       <wmmediatype subtype="{32564D57-0000-0010-8000-00AA00389B71}" bfixedsizesamples="0"
//                    btemporalcompression="1" lsamplesize="0">
//         <videoinfoheader dwbitrate="798720" dwbiterrorrate="0" avgtimeperframe="400000">
//           <rcsource left="0" top="0" right="640" bottom="480"/>
//           <rctarget left="0" top="0" right="640" bottom="480"/>
//           <bitmapinfoheader biwidth="640" biheight="480" biplanes="1" bibitcount="24"
//                             bicompression="WMV2" bisizeimage="0" bixpelspermeter="0"
//                             biypelspermeter="0" biclrused="0" biclrimportant="0"/>
//         </videoinfoheader>
//       </wmmediatype>
//     </streamconfig>
//   </profile>
//
// The profile needs a known version (WMT_VER_*) and a name; each stream its major type (sound
// or picture), number, names (inputname is the connection name), bit rate and one media type
// with one format block. Every attribute shown is required, except codecdata (hex bytes, none
// when absent); the rectangles and videomediaprops may be left out (zero). bicompression is a
// number or a four-letter code. Streams are checked as AddStream checks them.
#include "platform/wmformat/profile.h"

#include <memory>
#include <string_view>

namespace wmformat {

// S_OK with the profile, or NS_E_INVALIDPROFILE (and no profile) for a text that is not one.
HRESULT ReadProfileText(std::string_view text, std::unique_ptr<Profile>& profile);

} // namespace wmformat
