#include "readers/virtualtag.h"

namespace qel {

const std::array<const char*, Tinfosound::kFieldCount> Tinfosound::kNames = {
    "bitratenom", "typeencoder", "version", "layer", "cnanmod", "profile", "streamversion",
    "cnanmodid", "bitpersamp", "filelen", "samplrate", "bitrate", "duration", "framecount",
    "bitratetype", "bitratetypeid", "encoder", "bits", "peak", "ratio", "encoderid", "emphasis",
    "position", "HeaderType", "HeaderTypeID", "MPEGVersion", "MPEGVersionID", "ProfileID",
    "compresion"};

const std::array<std::string Tinfosound::*, Tinfosound::kFieldCount> Tinfosound::kFields = {
    &Tinfosound::bitratenom, &Tinfosound::typeencoder, &Tinfosound::version, &Tinfosound::layer,
    &Tinfosound::cnanmod, &Tinfosound::profile, &Tinfosound::streamversion, &Tinfosound::cnanmodid,
    &Tinfosound::bitpersamp, &Tinfosound::filelen, &Tinfosound::samplrate, &Tinfosound::bitrate,
    &Tinfosound::duration, &Tinfosound::framecount, &Tinfosound::bitratetype,
    &Tinfosound::bitratetypeid, &Tinfosound::encoder, &Tinfosound::bits, &Tinfosound::peak,
    &Tinfosound::ratio, &Tinfosound::encoderid, &Tinfosound::emphasis, &Tinfosound::position,
    &Tinfosound::HeaderType, &Tinfosound::HeaderTypeID, &Tinfosound::MPEGVersion,
    &Tinfosound::MPEGVersionID, &Tinfosound::ProfileID, &Tinfosound::compresion};

const std::array<Tinfotag::Named, Tinfotag::kNamedCount> Tinfotag::kNamed = {{
    {2, "Titlea", &Tinfotag::Titlea},         {3, "Artista", &Tinfotag::Artista},
    {4, "Albuma", &Tinfotag::Albuma},         {5, "Tracka", &Tinfotag::Tracka},
    {6, "Yeara", &Tinfotag::Yeara},           {7, "Genrea", &Tinfotag::Genrea},
    {8, "Commenta", &Tinfotag::Commenta},     {9, "Copyrighta", &Tinfotag::Copyrighta},
    {10, "Title1", &Tinfotag::Title1},        {11, "Artist1", &Tinfotag::Artist1},
    {12, "Album1", &Tinfotag::Album1},        {13, "Year1", &Tinfotag::Year1},
    {14, "Comment1", &Tinfotag::Comment1},    {15, "Genre1", &Tinfotag::Genre1},
    {17, "Title2", &Tinfotag::Title2},        {18, "vendor", &Tinfotag::vendor},
    {19, "Artist2", &Tinfotag::Artist2},      {20, "autor", &Tinfotag::autor},
    {21, "origfile", &Tinfotag::origfile},    {24, "Tracktext2", &Tinfotag::Tracktext2},
    {25, "Album2", &Tinfotag::Album2},        {26, "Year2", &Tinfotag::Year2},
    {27, "Comment2", &Tinfotag::Comment2},    {28, "Genre2", &Tinfotag::Genre2},
    {29, "Composer2", &Tinfotag::Composer2},  {30, "Encoder2", &Tinfotag::Encoder2},
    {31, "Copyright2", &Tinfotag::Copyright2}, {32, "Link2", &Tinfotag::Link2},
    {33, "Language2", &Tinfotag::Language2},  {34, "Track", &Tinfotag::Track},
}};

void Tinfosound::Clear() {
    for (auto field : kFields) (this->*field).clear();
}

void Tinfotag::Clear() {
    for (const Named& named : kNamed) (this->*named.field).clear();
    for (std::string* spare : {&spare0, &spare1, &spare16, &spare22, &spare23}) spare->clear();
}

void Ttag::NotProvided(const char* operation) {
    throw AbstractCallError(std::string("abstract operation called: ") + operation);
}

}  // namespace qel
