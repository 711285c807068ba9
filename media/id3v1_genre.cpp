#include "id3v1_genre.h"

#include <cstring>

namespace {

// One string, the names in index order, each ended by a NUL: no table of
// pointers to relocate.
const char kNames[] =
    "Blues\0Classic Rock\0Country\0Dance\0Disco\0Funk\0Grunge\0Hip-Hop\0Jazz\0Metal\0"
    "New Age\0Oldies\0Other\0Pop\0R&B\0Rap\0Reggae\0Rock\0Techno\0Industrial\0"
    "Alternative\0Ska\0Death Metal\0Pranks\0Soundtrack\0Euro-Techno\0Ambient\0Trip-Hop\0"
    "Vocal\0Jazz+Funk\0Fusion\0Trance\0Classical\0Instrumental\0Acid\0House\0Game\0"
    "Sound Clip\0Gospel\0Noise\0Alt. Rock\0Bass\0Soul\0Punk\0Space\0Meditative\0"
    "Instrumental Pop\0Instrumental Rock\0Ethnic\0Gothic\0Darkwave\0Techno-Industrial\0"
    "Electronic\0Pop-Folk\0Eurodance\0Dream\0Southern Rock\0Comedy\0Cult\0Gangsta Rap\0"
    "Top 40\0Christian Rap\0Pop/Funk\0Jungle\0Native American\0Cabaret\0New Wave\0"
    "Psychedelic\0Rave\0Showtunes\0Trailer\0Lo-Fi\0Tribal\0Acid Punk\0Acid Jazz\0Polka\0"
    "Retro\0Musical\0Rock & Roll\0Hard Rock\0Folk\0Folk-Rock\0National Folk\0Swing\0"
    "Fast-Fusion\0Bebop\0Latin\0Revival\0Celtic\0Bluegrass\0Avantgarde\0Gothic Rock\0"
    "Progressive Rock\0Psychedelic Rock\0Symphonic Rock\0Slow Rock\0Big Band\0Chorus\0"
    "Easy Listening\0Acoustic\0Humour\0Speech\0Chanson\0Opera\0Chamber Music\0Sonata\0"
    "Symphony\0Booty Bass\0Primus\0Porn Groove\0Satire\0Slow Jam\0Club\0Tango\0Samba\0"
    "Folklore\0Ballad\0Power Ballad\0Rhythmic Soul\0Freestyle\0Duet\0Punk Rock\0"
    "Drum Solo\0A Cappella\0Euro-House\0Dance Hall\0Goa\0Drum & Bass\0Club-House\0"
    "Hardcore\0Terror\0Indie\0BritPop\0Afro-Punk\0Polsk Punk\0Beat\0Christian Gangsta Rap\0"
    "Heavy Metal\0Black Metal\0Crossover\0Contemporary Christian\0Christian Rock\0"
    "Merengue\0Salsa\0Thrash Metal\0Anime\0JPop\0Synthpop\0";
const int kCount = 148;

}  // namespace

const char* Id3v1GenreName(int index) {
    if (index < 0 || index >= kCount)
        return nullptr;
    const char* name = kNames;
    for (int i = 0; i < index; ++i)
        name += std::strlen(name) + 1;
    return name;
}
