#include "faundatagen.h"
#include "splitmix.h"

#include <QBuffer>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <QStringList>
#include <QVector>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>

namespace faundatagen {
namespace {

class Rng : public SplitMix
{
public:
    using SplitMix::SplitMix;

    int below(int n) { return n <= 1 ? 0 : int(next() % quint64(n)); }
    int range(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(int percent) { return below(100) < percent; }
    double uniform() { return unit(); }
    double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }
};

quint64 mixSeed(quint64 a, quint64 b)
{
    Rng r(a * 0xD6E8FEB86659FD93ULL ^ (b + 0x632BE59BD9B4E019ULL));
    return r.next();
}

constexpr int kTypeCount = 17;
constexpr int kNormal = 11;
constexpr int kFire = 5;
constexpr int kGrass = 8;
constexpr int kRock = 14;

const char* const kTypeNames[kTypeCount] = {
    "Bug",    "Dark", "Dragon", "Electric", "Fighting", "Fire", "Flying", "Ghost", "Grass",
    "Ground", "Ice",  "Normal", "Poison",   "Psychic",  "Rock", "Steel",  "Water",
};

struct Theme
{
    const char* stems[12];
    const char* moveWords[10];
    const char* abilityWords[3];
    const char* item;
    const char* habits[4];
    double bias[6]; // HP ATK DEF SPD SAT SDF
    double density;
};

const Theme kThemes[kTypeCount] = {
    {// Bug
     {"CHITIN", "SKITTER", "LARVA", "THORAX", "HUSK", "HIVE", "WEEVIL", "SILK", "COCOON", "DRONE", "NECTAR", "BUZZ"},
     {"Chitin", "Larva", "Silk", "Hive", "Swarm", "Mandible", "Thorax", "Husk", "Cocoon", "Stinger"},
     {"Swarm", "Carapace", "Silken"},
     "Chitin Shard",
     {"%1 spins silk so fine that it is almost invisible at noon.",
      "Colonies of %1 take turns guarding the hive through the night.",
      "%1 molts every full moon and eats its old shell to recover its strength.",
      "%1 clicks its mandibles in rhythm to talk with others of its kind."},
     {0.0, 0.2, 0.1, 0.2, 0.0, 0.0},
     0.8},
    {// Dark
     {"MURK", "DUSK", "NOCT", "UMBRA", "SABLE", "GRIM", "HEX", "SHROUD", "ONYX", "SLINK", "OMEN", "RAVEN"},
     {"Murk", "Dusk", "Gloom", "Umbra", "Sable", "Grim", "Hex", "Omen", "Rogue", "Midnight"},
     {"Nightfall", "Sly", "Umbral"},
     "Umbral Stone",
     {"%1 hunts only on moonless nights and leaves a single black feather as a calling card.",
      "%1 steals shiny objects and hides them in places it soon forgets.",
      "The eyes of %1 reflect no light, which makes it nearly impossible to spot after dark.",
      "%1 mimics the laughter of travelers to lure them off the road."},
     {0.0, 0.3, 0.0, 0.3, 0.1, 0.0},
     0.9},
    {// Dragon
     {"WYVER", "DRAKE", "SERPEN", "LIND", "DRAVEN", "VYRN", "SAURO", "HOARD", "ELDER", "FABLE", "REGAL", "AZUR"},
     {"Wyrm", "Drake", "Scale", "Serpent", "Wyvern", "Hoard", "Crest", "Saga", "Elder", "Fable"},
     {"Wyrmblood", "Hoarder", "Elder"},
     "Wyrm Scale",
     {"%1 guards a hoard of smooth river pebbles and counts them every night.",
      "The scales of %1 change color with its mood, from slate gray to sunrise gold.",
      "%1 can go a whole season without eating, living on warmth from the sun.",
      "Old tales say %1 once carried messages between mountain kingdoms."},
     {0.2, 0.3, 0.1, 0.1, 0.2, 0.1},
     1.4},
    {// Electric
     {"VOLT", "SPARK", "ZAPP", "JOLT", "STATIC", "AMPER", "FLUX", "ARC", "SURGE", "OHM", "COIL", "GALVA"},
     {"Volt", "Spark", "Static", "Arc", "Jolt", "Ohm", "Amp", "Flux", "Galvan", "Filament"},
     {"Static", "Dynamo", "Charged"},
     "Spark Stone",
     {"The fur of %1 stands on end before thunder, and it hides under tin roofs to listen.",
      "%1 nibbles on copper wire and glows faintly for days afterward.",
      "Whenever %1 meets another of its kind, the two trade tiny shocks as a greeting.",
      "%1 hums at the same pitch as old lamps and is drawn to lighthouses."},
     {0.0, 0.0, 0.0, 0.4, 0.3, 0.0},
     0.8},
    {// Fighting
     {"BRAWL", "KNUCK", "SPAR", "JAB", "DOJO", "GRIT", "BRUISE", "PUMMEL", "FEINT", "STOMP", "SINEW", "VIGOR"},
     {"Knuckle", "Brawler", "Grapple", "Sinew", "Elbow", "Vigor", "Dojo", "Stance", "Palm", "Shin"},
     {"Unbowed", "Brawler", "Dojo"},
     "Sparring Gloves",
     {"%1 practices the same kick ten thousand times before it will try a new one.",
      "%1 bows to every opponent, win or lose, and never strikes from behind.",
      "The calluses on the knuckles of %1 are said to be harder than river stone.",
      "%1 trains at dawn on cliff edges to sharpen its balance."},
     {0.1, 0.5, 0.1, 0.1, -0.3, 0.0},
     1.1},
    {// Fire
     {"EMBER", "CINDER", "ASH", "SCORCH", "PYRE", "FLARE", "SINGE", "SEAR", "SOOT", "BRAND", "FUME", "KILN"},
     {"Ember", "Cinder", "Pyre", "Scorch", "Singe", "Soot", "Smolder", "Kindle", "Ash", "Brand"},
     {"Cinder", "Kindled", "Smolder"},
     "Ember Stone",
     {"%1 keeps a coal glowing in its throat and sulks whenever it rains.",
      "Sparks drift from the tail of %1 when it dreams, so it sleeps on bare stone.",
      "%1 warms abandoned nests through the winter, then leaves before the hatchlings wake.",
      "A single sneeze from %1 can light a campfire from twenty paces."},
     {0.0, 0.2, 0.0, 0.2, 0.3, 0.0},
     0.9},
    {// Flying
     {"GUST", "ZEPHYR", "SKY", "AERO", "SOAR", "DRIFT", "CIRRUS", "PLUME", "SWOOP", "GALE", "KITE", "NIMBUS"},
     {"Gust", "Zephyr", "Feather", "Sky", "Gale", "Updraft", "Plume", "Swoop", "Cirrus", "Talon"},
     {"Updraft", "Windborne", "Skyward"},
     "Gale Feather",
     {"%1 rides warm air currents for days without once beating its wings.",
      "%1 collects shiny feathers and weaves them into its nest as decoration.",
      "At high altitude the call of %1 carries across entire valleys.",
      "%1 naps in midair by locking its wings and drifting in slow circles."},
     {0.0, 0.2, 0.0, 0.4, 0.0, 0.0},
     0.4},
    {// Ghost
     {"WISP", "PHANT", "WAIL", "HAUNT", "WRAITH", "GHOUL", "SPOOK", "GLOAM", "HOLLOW", "CRYPT", "TOMB", "SHADE"},
     {"Wisp", "Phantom", "Wail", "Haunt", "Wraith", "Ghoul", "Gloam", "Hollow", "Crypt", "Lantern"},
     {"Wraith", "Hollow", "Lantern"},
     "Grave Lantern",
     {"%1 drifts through old lanterns and borrows their light for an evening.",
      "Nobody has seen the shadow of %1; it seems to have lent it to someone else.",
      "%1 hides in forgotten attics and rearranges keepsakes when no one is watching.",
      "A chill in a warm room is often just %1 passing through."},
     {-0.2, 0.0, 0.0, 0.2, 0.3, 0.2},
     0.15},
    {// Grass
     {"MOSS", "FERN", "THORN", "SPROUT", "BLOSS", "BRIAR", "LICHEN", "CLOVER", "SAP", "BRACKEN", "IVY", "REED"},
     {"Moss", "Spore", "Root", "Thorn", "Bramble", "Fern", "Lichen", "Sap", "Tendril", "Clover"},
     {"Thicket", "Canopy", "Bramble"},
     "Verdant Stone",
     {"%1 naps in damp hollows until the moss on its back turns a deep green.",
      "%1 roots itself in sunny clearings and hums while it soaks up the light.",
      "The thorns along the spine of %1 close up like fingers when it is startled.",
      "%1 trades seeds with passing travelers and remembers every one of them."},
     {0.1, 0.0, 0.1, 0.0, 0.2, 0.2},
     0.9},
    {// Ground
     {"DUNE", "SILT", "LOAM", "MUD", "CLAY", "QUAKE", "BURROW", "DELVE", "GRAVEL", "TERRA", "MESA", "DUST"},
     {"Dune", "Silt", "Loam", "Mud", "Clay", "Burrow", "Gravel", "Dust", "Mesa", "Furrow"},
     {"Bedrock", "Burrower", "Dustborn"},
     "Loam Stone",
     {"%1 tunnels beneath orchards and loosens the soil as it goes.",
      "%1 rolls in dust to keep cool and leaves perfectly round prints in the sand.",
      "Farmers welcome %1, for its burrows bring water to dry fields.",
      "%1 can feel footsteps from a mile away through the pads of its feet."},
     {0.2, 0.3, 0.3, -0.1, 0.0, 0.0},
     1.6},
    {// Ice
     {"FROST", "RIME", "SLEET", "GLACI", "HAIL", "FLURRY", "TUNDRA", "BOREA", "POLAR", "SNOW", "FLOE", "CRYO"},
     {"Frost", "Rime", "Sleet", "Glacier", "Hail", "Floe", "Icicle", "Tundra", "Snowdrift", "Chill"},
     {"Rime", "Wintry", "Glacial"},
     "Rime Stone",
     {"%1 breathes tiny snowflakes, each one in a shape nobody has seen before.",
      "%1 sleeps inside icebergs and wakes only when the first spring thaw begins.",
      "Frost patterns trail behind %1, tracing the path it walked that morning.",
      "%1 chills the milk of mountain villagers in exchange for a bowl of its own."},
     {0.1, 0.0, 0.0, 0.0, 0.3, 0.2},
     1.0},
    {// Normal
     {"TUFT", "WHISK", "SCAMP", "PATCH", "MUNCH", "PLOD", "CHUB", "SNUFF", "BURL", "FUZZ", "DOZE", "HOP"},
     {"Tuft", "Whisker", "Scamper", "Patch", "Nibble", "Snuffle", "Fuzz", "Paw", "Hearth", "Bristle"},
     {"Homely", "Plucky", "Easygoing"},
     "Ribbon Charm",
     {"%1 follows picnickers at a polite distance, hoping for crumbs.",
      "%1 grooms its tufts for hours and sulks if they get muddy.",
      "%1 is friendly to almost everyone and falls asleep in the oddest places.",
      "Herds of %1 graze together and take turns keeping watch."},
     {0.4, 0.1, 0.0, 0.1, -0.1, 0.0},
     1.0},
    {// Poison
     {"VENOM", "BLIGHT", "ICHOR", "BANE", "NOXI", "FESTER", "MIRE", "BILE", "SMOG", "WILT", "CANKER", "TOXIN"},
     {"Venom", "Toxin", "Blight", "Miasma", "Ichor", "Bile", "Fester", "Mire", "Canker", "Nettle"},
     {"Venom", "Noxious", "Bitter"},
     "Venom Vial",
     {"%1 leaves a faint lilac haze wherever it rests; flowers there bloom twice as big.",
      "Its bright stripes warn predators away, so %1 rarely needs to use its venom.",
      "%1 brews a bitter tonic in its belly that cures its own fevers.",
      "%1 lives in stagnant ponds and keeps them strangely free of gnats."},
     {0.1, 0.1, 0.1, 0.0, 0.1, 0.2},
     1.0},
    {// Psychic
     {"PSION", "AURA", "TRANCE", "DREAM", "RUNE", "ESPER", "SIGIL", "ZEN", "CEREB", "MYST", "OMNI", "MUSE"},
     {"Mind", "Psion", "Aura", "Trance", "Dream", "Rune", "Sigil", "Reverie", "Prism", "Astral"},
     {"Lucid", "Dreaming", "Astral"},
     "Dream Prism",
     {"%1 dreams in colors it cannot describe, and sometimes others share those dreams.",
      "%1 can stack pebbles into tall towers using thought alone.",
      "The eyes of %1 glow softly when it senses a lie being told nearby.",
      "%1 hums a single note that calms frightened animals."},
     {-0.1, -0.2, -0.1, 0.2, 0.5, 0.3},
     0.8},
    {// Rock
     {"ORE", "SHALE", "CRAG", "FLINT", "GEODE", "SLATE", "BASALT", "CAIRN", "QUARRY", "TOR", "OBSID", "SCREE"},
     {"Granite", "Shale", "Crag", "Flint", "Pebble", "Slate", "Basalt", "Cairn", "Boulder", "Scree"},
     {"Granite", "Crystal", "Boulder"},
     "Geode Core",
     {"%1 sleeps so still that hikers mistake it for a boulder and sit on it.",
      "%1 grows a new layer of crystal each year, like the rings of a tree.",
      "%1 polishes its shell against cliff faces until it gleams.",
      "Rockfalls rarely bother %1; it simply waits for the stones to settle."},
     {0.0, 0.3, 0.5, -0.3, 0.0, 0.1},
     2.6},
    {// Steel
     {"RIVET", "COBALT", "GEAR", "ANVIL", "CHROME", "GIRDER", "ALLOY", "FORGE", "BRASS", "COG", "FERRO", "ZINC"},
     {"Rivet", "Cobalt", "Gear", "Anvil", "Chrome", "Alloy", "Forge", "Brass", "Cog", "Girder"},
     {"Alloy", "Riveted", "Forged"},
     "Cobalt Coil",
     {"The plates of %1 ring like bells when struck, warning the rest of its herd.",
      "%1 oils its joints with pine resin and squeaks when it runs out.",
      "%1 lines its den with bent nails and bottle caps it has collected.",
      "Rust never forms on %1, even after a week spent underwater."},
     {0.0, 0.2, 0.6, -0.3, 0.0, 0.2},
     3.0},
    {// Water
     {"TIDE", "BRINE", "SURF", "KELP", "CORAL", "EDDY", "REEF", "SHOAL", "LAGOON", "SPLASH", "MARIN", "WAVE"},
     {"Tide", "Brine", "Surf", "Dew", "Kelp", "Ripple", "Current", "Eddy", "Spray", "Riptide"},
     {"Tidal", "Briny", "Riptide"},
     "Tide Stone",
     {"%1 sings to the tide at dusk and is said to know when storms will come.",
      "%1 stores cool water in its cheeks and sprays anyone who looks thirsty.",
      "Its fins fold like paper fans, letting %1 glide for a moment between waves.",
      "%1 builds little dams of pebbles just to watch the water flow around them."},
     {0.2, 0.0, 0.1, 0.0, 0.2, 0.1},
     1.0},
};

const char* const kMoveActions[] = {
    "Lash",   "Puff",    "Quake",  "Drink",  "Volley",  "Flurry", "Veil",   "Rend",  "Snap",   "Spiral", "Shroud",
    "Mantle", "Lance",   "Squall", "Bellow", "Cascade", "Sweep",  "Ward",   "Salvo", "Tremor", "Dart",   "Cleave",
    "Grasp",  "Scatter", "Vortex", "Ram",    "Burst",   "Drain",  "Tether", "Hook",  "Rattle", "Toss",
};

const char* const kAbilityNouns[] = {
    "Veil", "Heart", "Hide", "Instinct", "Pact", "Temper", "Resolve", "Sense", "Mantle", "Spirit",
};

// Stage suffixes: the first stage of a family, a middle stage, a last stage, and lone creatures.
const char* const kBabySuffixes[] = {
    "LING", "LET", "KIN", "PIP", "LISK", "NUB", "MITE", "TOT", "NIK", "ETTE", "BUD", "PUP", "MOTE", "SQUIB",
};
const char* const kMiddleSuffixes[] = {
    "WARDEN", "CLAW", "FANG",  "HORN", "BACK",  "TAIL",  "STRIDE", "SCALE",
    "RUNNER", "MAW",  "SHELL", "HIDE", "HOUND", "PROWL", "QUILL",  "CREST",
};
const char* const kFinalSuffixes[] = {
    "COLOSSUS", "LORD",    "TITAN", "MONARCH",  "REGENT", "BEHEMOTH",
    "TYRANT",   "PARAGON", "DREAD", "SENTINEL", "KAISER", "ARCHON",
};
const char* const kSoloSuffixes[] = {
    "SPIRE",  "ORACLE", "HERALD", "RAPTOR", "STALKER", "WYRM",
    "MANTIS", "BRUTE",  "LANCER", "SHRIKE", "WEAVER",  "BASTION",
};
// Linking syllables that stretch a stem once the plain ones run out.
const char* const kJoiners[] = {
    "A", "O", "I", "EL", "AR", "OR", "UN", "IX", "AZ", "OM", "EN", "ID", "AV", "OK",
};
// Accidental plain English words.
const char* const kBlockedNames[] = {"SAPLING", "SPARKLING"};

const char* const kGenericConditions[] = {
    "Trade",
    "High friendship",
    "Level up at night",
    "Level up during rain",
    "High friendship by day",
    "Level up near a waterfall",
    "Level up with a full team",
    "Level up at dawn",
};

const char* const kSecondSentences[] = {
    "It is most active just after rain.",
    "Researchers still argue about whether it can count.",
    "Field notes describe it as \"shy & curious\".",
    "It rarely strays > 3 km from the place it hatched.",
    "Some keepers claim it can tell friends & strangers apart by scent alone.",
    "A group of them is called a 'tumble'.",
    "It dislikes loud noises and will hide until they stop.",
    "Its favorite food is still a mystery.",
    "It sheds its coat twice a year.",
    "Children leave out berries for it on festival nights.",
    "It can remember a face for decades.",
    "It is calmer in pairs than alone.",
    "Sightings rise sharply in late autumn.",
    "Young ones stay close to their parents for < 1 year.",
};

const char* const kOtherMoveKinds[] = {"machine", "tutor", "egg"};

template <typename T, int N> constexpr int countOf(const T (&)[N])
{
    return N;
}

template <typename T, int N> const T& pick(Rng& r, const T (&arr)[N])
{
    return arr[r.below(N)];
}

bool isVowel(QChar c)
{
    return c == u'A' || c == u'E' || c == u'I' || c == u'O' || c == u'U';
}

// Glues name parts so that vowels and repeated letters do not pile up
// (MOSS + SCALE gives MOSSCALE, not MOSSSCALE).
QString joinParts(const QString& a, const QString& b)
{
    if (a.isEmpty())
        return b;
    if (b.isEmpty())
        return a;
    const QChar last = a.back();
    const QChar first = b.front();
    if (isVowel(last) && isVowel(first))
        return a.chopped(1) + b;
    const bool tripled = a.size() > 1 && a.at(a.size() - 2) == last;
    if (last == first && (tripled || last == u'K'))
        return a + b.mid(1);
    return a + b;
}

QString displayName(const QString& upper)
{
    return upper.left(1) + upper.mid(1).toLower();
}

struct MovePools
{
    QVector<QStringList> byType;
};

// Fixed regardless of seed, so move names stay stable between data files.
const MovePools& movePools()
{
    static const MovePools pools = [] {
        MovePools p;
        p.byType.resize(kTypeCount);
        QSet<QString> seen;
        const int actionCount = countOf(kMoveActions);
        for (int t = 0; t < kTypeCount; ++t) {
            Rng r(0xA11CE5EEDULL + quint64(t) * 7919ULL);
            for (const char* word : kThemes[t].moveWords) {
                int first = r.below(actionCount);
                for (int k = 0; k < 3; ++k) {
                    // Distinct, evenly spread actions per word.
                    const int a = (first + k * 11) % actionCount;
                    const QString name = QString::fromLatin1(word) + u' ' + QString::fromLatin1(kMoveActions[a]);
                    if (!seen.contains(name)) {
                        seen.insert(name);
                        p.byType[t].append(name);
                    }
                }
            }
        }
        const struct
        {
            int type;
            const char* name;
        } extras[] = {
            {kGrass, "Moss Lash"},
            {kGrass, "Spore Puff"},
            {kGrass, "Root Quake"},
            {16, "Dew Drink"},
        };
        for (const auto& e : extras) {
            const QString name = QString::fromLatin1(e.name);
            if (!seen.contains(name)) {
                seen.insert(name);
                p.byType[e.type].append(name);
            }
        }
        return p;
    }();
    return pools;
}

enum class Kind {
    Solo,
    TwoLevel,
    TwoCondition,
    ThreeLevel,
    ThreeLevelCondition,
    ThreeConditionLevel,
    ThreeCondition,
    ThreeLevelLow, // single-digit then double-digit level: sorts wrongly as text
};
constexpr int kKindCount = 8;

int kindSize(Kind k)
{
    switch (k) {
    case Kind::Solo:
        return 1;
    case Kind::TwoLevel:
    case Kind::TwoCondition:
        return 2;
    default:
        return 3;
    }
}

struct Member
{
    QString name;
    int lvl = -1;      // -1: reached some other way
    QString condition; // empty unless reached by condition
    QVector<int> types;
};

struct Family
{
    Kind kind = Kind::Solo;
    int primary = kNormal;
    int secondary = -1;
    QString ability;
    QVector<Member> members;
    double weights[6] = {};
};

class Generator
{
public:
    explicit Generator(quint32 seed)
        : m_seed(seed)
        , m_deckRng(mixSeed(seed, 0xDECC))
    {
    }

    bool write(QIODevice* device, int count);

private:
    Family makeFamily(int index, int maxSize, Rng& r);
    int nextType();
    Kind nextKind(Rng& r);
    void nameFamily(Family& f, Rng& r, const QStringList& fixedNames);
    QString condition(const Family& f, Rng& r, const QString& avoid);
    QString ability(int type, Rng& r);
    QString pickMove(Rng& r, const QVector<int>& types, QSet<QString>& used, bool anyType);
    void writeMember(QXmlStreamWriter& w, const Family& f, int index, int id, Rng& r);

    quint32 m_seed;
    Rng m_deckRng;
    QVector<int> m_typeDeck;
    QVector<Kind> m_kindDeck;
    bool m_kindDeckDealt = false;
    QSet<QString> m_usedNames;
    QSet<QString> m_usedStems;
};

int Generator::nextType()
{
    // A shuffled deck of all types keeps them evenly spread and guarantees
    // each appears early.
    if (m_typeDeck.isEmpty()) {
        for (int t = 0; t < kTypeCount; ++t)
            m_typeDeck.append(t);
        for (int i = kTypeCount - 1; i > 0; --i)
            std::swap(m_typeDeck[i], m_typeDeck[m_deckRng.below(i + 1)]);
    }
    return m_typeDeck.takeLast();
}

Kind Generator::nextKind(Rng& r)
{
    if (!m_kindDeckDealt) {
        m_kindDeckDealt = true;
        for (int k = 0; k < kKindCount; ++k)
            m_kindDeck.append(Kind(k));
        for (int i = kKindCount - 1; i > 0; --i)
            std::swap(m_kindDeck[i], m_kindDeck[m_deckRng.below(i + 1)]);
    }
    if (!m_kindDeck.isEmpty())
        return m_kindDeck.takeLast();
    static const int weights[kKindCount] = {22, 20, 10, 18, 12, 4, 4, 10};
    int roll = r.below(100);
    for (int k = 0; k < kKindCount; ++k) {
        if (roll < weights[k])
            return Kind(k);
        roll -= weights[k];
    }
    return Kind::Solo;
}

QString Generator::condition(const Family& f, Rng& r, const QString& avoid)
{
    for (;;) {
        QString c;
        const int roll = r.below(100);
        if (roll < 45)
            c = QString::fromLatin1(kThemes[f.primary].item);
        else if (roll < 55 && f.secondary >= 0)
            c = QString::fromLatin1(kThemes[f.secondary].item);
        else if (roll < 65)
            c = QStringLiteral("Trade holding %1").arg(QString::fromLatin1(kThemes[f.primary].item));
        else
            c = QString::fromLatin1(pick(r, kGenericConditions));
        if (c != avoid)
            return c;
    }
}

QString Generator::ability(int type, Rng& r)
{
    return QString::fromLatin1(pick(r, kThemes[type].abilityWords)) + u' '
        + QString::fromLatin1(pick(r, kAbilityNouns));
}

void Generator::nameFamily(Family& f, Rng& r, const QStringList& fixedNames)
{
    const int size = f.members.size();
    if (!fixedNames.isEmpty()) {
        for (int i = 0; i < size; ++i) {
            f.members[i].name = fixedNames.at(i);
            m_usedNames.insert(fixedNames.at(i));
        }
        return;
    }
    const Theme& theme = kThemes[f.primary];
    const bool lone = kindSize(f.kind) == 1;
    for (int attempt = 0;; ++attempt) {
        // Plain stems first so early names read cleanly; then stems grow by
        // one syllable per tier, which keeps even huge files collision-free.
        QString stem;
        if (attempt == 0) {
            QStringList unused;
            for (const char* s : theme.stems) {
                const QString stemText = QString::fromLatin1(s);
                if (!m_usedStems.contains(stemText))
                    unused.append(stemText);
            }
            if (unused.isEmpty())
                continue;
            stem = unused.at(r.below(unused.size()));
        } else {
            const int tier = 1 + (attempt - 1) / 8;
            stem = QString::fromLatin1(pick(r, theme.stems));
            for (int j = 0; j < tier; ++j)
                stem = joinParts(stem, QString::fromLatin1(pick(r, kJoiners)));
        }
        if (m_usedStems.contains(stem))
            continue;

        QStringList names;
        for (int i = 0; i < size; ++i) {
            const char* suffix = nullptr;
            if (lone)
                suffix = pick(r, kSoloSuffixes);
            else if (i == 0)
                suffix = pick(r, kBabySuffixes);
            else if (i == 1 && kindSize(f.kind) == 3)
                suffix = pick(r, kMiddleSuffixes);
            else if (i == 2)
                suffix = pick(r, kFinalSuffixes);
            else
                suffix = r.chance(50) ? pick(r, kMiddleSuffixes) : pick(r, kFinalSuffixes);
            names.append(joinParts(stem, QString::fromLatin1(suffix)));
        }
        bool ok = true;
        for (int i = 0; i < size && ok; ++i) {
            ok = !m_usedNames.contains(names.at(i)) && names.indexOf(names.at(i)) == i;
            for (const char* blocked : kBlockedNames)
                ok = ok && names.at(i) != QLatin1String(blocked);
        }
        if (!ok)
            continue;
        m_usedStems.insert(stem);
        for (int i = 0; i < size; ++i) {
            f.members[i].name = names.at(i);
            m_usedNames.insert(names.at(i));
        }
        return;
    }
}

Family Generator::makeFamily(int index, int maxSize, Rng& r)
{
    Family f;
    QStringList fixedNames;
    QString fixedAbility;
    if (index == 0) {
        f.kind = Kind::ThreeLevelCondition;
        f.primary = kGrass;
        f.secondary = kRock;
        fixedNames = {QStringLiteral("MOSSLING"), QStringLiteral("MOSSWARDEN"), QStringLiteral("MOSSCOLOSSUS")};
        fixedAbility = QStringLiteral("Thicket Veil");
        m_usedStems.insert(QStringLiteral("MOSS"));
    } else if (index == 1) {
        f.kind = Kind::ThreeLevelLow;
        f.primary = kFire;
        fixedNames = {QStringLiteral("EMBERLISK"), QStringLiteral("EMBERHOUND"), QStringLiteral("EMBERTYRANT")};
        m_usedStems.insert(QStringLiteral("EMBER"));
    } else {
        f.kind = nextKind(r);
        f.primary = nextType();
        if (r.chance(40)) {
            f.secondary = r.below(kTypeCount - 1);
            if (f.secondary >= f.primary)
                ++f.secondary;
        }
    }

    const int size = std::min(kindSize(f.kind), maxSize);
    f.members.resize(size);

    // Levels and conditions for stages 2 and 3.
    int lvl2 = -1, lvl3 = -1;
    QString cond2, cond3;
    switch (f.kind) {
    case Kind::Solo:
        break;
    case Kind::TwoLevel:
        lvl2 = r.range(14, 42);
        break;
    case Kind::TwoCondition:
        cond2 = condition(f, r, QString());
        break;
    case Kind::ThreeLevel:
        lvl2 = r.range(12, 30);
        lvl3 = r.range(lvl2 + 12, std::min(55, lvl2 + 25));
        break;
    case Kind::ThreeLevelCondition:
        lvl2 = index == 0 ? 14 : r.range(14, 32);
        cond3 = index == 0 ? QString::fromLatin1(kThemes[kGrass].item) : condition(f, r, QString());
        break;
    case Kind::ThreeConditionLevel:
        cond2 = condition(f, r, QString());
        lvl3 = r.range(30, 50);
        break;
    case Kind::ThreeCondition:
        cond2 = condition(f, r, QString());
        cond3 = condition(f, r, cond2);
        break;
    case Kind::ThreeLevelLow:
        lvl2 = index == 1 ? 7 : r.range(5, 9);
        lvl3 = index == 1 ? 10 : r.range(10, 16);
        break;
    }
    if (size > 1) {
        f.members[1].lvl = lvl2;
        f.members[1].condition = cond2;
    }
    if (size > 2) {
        f.members[2].lvl = lvl3;
        f.members[2].condition = cond3;
    }

    // Three-stage families sometimes gain their second type only later on.
    const bool lateSecondary = f.secondary >= 0 && kindSize(f.kind) == 3 && (index == 0 || r.chance(35));
    for (int i = 0; i < size; ++i) {
        f.members[i].types = {f.primary};
        if (f.secondary >= 0 && !(lateSecondary && i < (index == 0 ? 2 : 1)))
            f.members[i].types.append(f.secondary);
    }

    nameFamily(f, r, fixedNames);
    f.ability = fixedAbility.isEmpty() ? ability(f.secondary >= 0 && r.chance(30) ? f.secondary : f.primary, r)
                                       : fixedAbility;

    // Stat shape is shared by the whole family.
    for (int s = 0; s < 6; ++s) {
        double w = 1.0 + kThemes[f.primary].bias[s] + r.uniform(0.0, 0.5);
        if (f.secondary >= 0)
            w += 0.5 * kThemes[f.secondary].bias[s];
        f.weights[s] = std::max(0.3, w);
    }
    return f;
}

QString Generator::pickMove(Rng& r, const QVector<int>& types, QSet<QString>& used, bool anyType)
{
    const MovePools& pools = movePools();
    int type;
    const int roll = r.below(100);
    if (anyType && roll < 45)
        type = r.below(kTypeCount);
    else if (roll < 60 || types.size() < 2)
        type = roll < 88 ? types.first() : kNormal;
    else
        type = roll < 88 ? types.at(1) : kNormal;
    const QStringList& pool = pools.byType.at(type);
    for (int tries = 0; tries < 16; ++tries) {
        const QString& m = pool.at(r.below(pool.size()));
        if (!used.contains(m)) {
            used.insert(m);
            return m;
        }
    }
    // Pools are far larger than any move list, so a free one always exists.
    for (int t = 0; t < kTypeCount; ++t) {
        for (const QString& m : pools.byType.at((type + t) % kTypeCount)) {
            if (!used.contains(m)) {
                used.insert(m);
                return m;
            }
        }
    }
    return QString();
}

QString formatDecimal(double v)
{
    // 'f' with one digit always keeps the point, even for whole numbers.
    return QString::number(v, 'f', 1);
}

void Generator::writeMember(QXmlStreamWriter& w, const Family& f, int index, int id, Rng& r)
{
    static const char* const statNames[6] = {"HP", "ATK", "DEF", "SPD", "SAT", "SDF"};
    const Member& m = f.members.at(index);
    const int familySize = kindSize(f.kind);
    const bool lone = familySize == 1;
    const bool last = index == familySize - 1;

    int total;
    int expLo, expHi;
    double hLo, hHi;
    int movesLo, movesHi, maxLevelLo;
    if (lone) {
        total = r.range(390, 500);
        expLo = 150;
        expHi = 270;
        hLo = 0.4;
        hHi = 3.0;
        movesLo = 6;
        movesHi = 14;
        maxLevelLo = 60;
    } else if (index == 0) {
        total = r.range(250, 320);
        expLo = 40;
        expHi = 90;
        hLo = 0.2;
        hHi = 1.0;
        movesLo = 5;
        movesHi = 9;
        maxLevelLo = 40;
    } else if (!last) {
        total = r.range(360, 420);
        expLo = 120;
        expHi = 180;
        hLo = 0.8;
        hHi = 1.8;
        movesLo = 5;
        movesHi = 12;
        maxLevelLo = 50;
    } else {
        total = r.range(familySize == 2 ? 380 : 440, familySize == 2 ? 470 : 530);
        expLo = familySize == 2 ? 150 : 200;
        expHi = familySize == 2 ? 250 : 300;
        hLo = 1.2;
        hHi = 3.5;
        movesLo = 6;
        movesHi = 15;
        maxLevelLo = 60;
    }

    double weightSum = 0.0;
    for (double wgt : f.weights)
        weightSum += wgt;
    int stats[6];
    for (int s = 0; s < 6; ++s) {
        const double v = total * f.weights[s] / weightSum * r.uniform(0.92, 1.08);
        stats[s] = std::clamp(int(std::lround(v)), 20, 100);
    }
    if (r.below(40) == 0) {
        const int boosted = r.range(1, 2);
        const int firstStat = r.below(6);
        for (int b = 0; b < boosted; ++b)
            stats[(firstStat + b * r.range(1, 5)) % 6] = r.range(101, 130);
    }

    const QVector<int>& types = m.types;
    const Theme& theme = kThemes[types.first()];

    w.writeStartElement(QStringLiteral("faunlet"));
    w.writeAttribute(QStringLiteral("id"), QString::number(id));
    w.writeTextElement(QStringLiteral("name"), m.name);

    w.writeStartElement(QStringLiteral("stats"));
    for (int s = 0; s < 6; ++s)
        w.writeTextElement(QString::fromLatin1(statNames[s]), QString::number(stats[s]));
    w.writeEndElement();

    w.writeTextElement(QStringLiteral("exp"), QString::number(r.range(expLo, expHi)));

    w.writeStartElement(QStringLiteral("types"));
    for (int t : types)
        w.writeTextElement(QStringLiteral("type"), QString::fromLatin1(kTypeNames[t]));
    w.writeEndElement();

    const QString memberAbility = index > 0 && r.chance(25) ? ability(types.last(), r) : f.ability;
    w.writeTextElement(QStringLiteral("ability"), memberAbility);

    w.writeStartElement(QStringLiteral("evolutions"));
    for (const Member& stage : f.members) {
        w.writeStartElement(QStringLiteral("stage"));
        w.writeTextElement(QStringLiteral("name"), stage.name);
        if (stage.lvl >= 0)
            w.writeTextElement(QStringLiteral("lvl"), QString::number(stage.lvl));
        else if (!stage.condition.isEmpty())
            w.writeTextElement(QStringLiteral("condition"), stage.condition);
        w.writeEndElement();
    }
    w.writeEndElement();

    double height = r.uniform(hLo, hHi);
    if (r.below(25) == 0)
        height *= 2.5;
    height = std::max(0.1, std::round(height * 10.0) / 10.0);
    // Slightly under cubic growth keeps the giants believable.
    double weight = std::pow(height, 2.6) * 20.0 * theme.density * r.uniform(0.6, 1.4);
    weight = std::clamp(std::round(weight * 10.0) / 10.0, 0.1, 9999.9);
    w.writeTextElement(QStringLiteral("height"), formatDecimal(height));
    w.writeTextElement(QStringLiteral("weight"), formatDecimal(weight));

    const QString shown = displayName(m.name);
    QString description = QString::fromLatin1(pick(r, theme.habits)).arg(shown);
    const int extra = r.below(100);
    if (extra < 10) {
        // First syllable, roughly: up to the first vowel and one letter after.
        int end = 0;
        while (end < m.name.size() && !isVowel(m.name.at(end)))
            ++end;
        while (end < m.name.size() && isVowel(m.name.at(end)))
            ++end;
        const QString sound = m.name.left(std::min<int>(end + 1, m.name.size())).toLower();
        description += QStringLiteral(" Its cry sounds a bit like \"%1-%1!\"").arg(sound);
    } else if (extra < 60) {
        description += u' ' + QString::fromLatin1(pick(r, kSecondSentences));
    }
    w.writeTextElement(QStringLiteral("description"), description);

    // Level-up moves: always one at level 1, occasionally a second, and
    // duplicates elsewhere come naturally from the random draw.
    // Skewed towards short lists so that huge files stay a manageable size.
    const int levelUpCount = movesLo + std::min(r.below(movesHi - movesLo + 1), r.below(movesHi - movesLo + 1));
    const int maxLevel = r.range(maxLevelLo, 100);
    QVector<int> levels{1};
    if (r.chance(30))
        levels.append(1);
    while (levels.size() < levelUpCount)
        levels.append(r.range(2, maxLevel));
    std::sort(levels.begin(), levels.end());

    QSet<QString> used;
    w.writeStartElement(QStringLiteral("moves"));
    const auto writeMove = [&w](const char* kind, const QString& name, int lvl) {
        w.writeStartElement(QStringLiteral("move"));
        w.writeAttribute(QStringLiteral("type"), QString::fromLatin1(kind));
        w.writeTextElement(QStringLiteral("name"), name);
        w.writeTextElement(QStringLiteral("lvl"), QString::number(lvl));
        w.writeEndElement();
    };
    for (int lvl : levels)
        writeMove("level-up", pickMove(r, types, used, false), lvl);
    static const int otherCounts[10] = {1, 1, 1, 1, 2, 2, 2, 3, 3, 4};
    const int otherCount = otherCounts[r.below(10)];
    for (int i = 0; i < otherCount; ++i) {
        const char* kind = pick(r, kOtherMoveKinds);
        writeMove(kind, pickMove(r, types, used, true), 0);
    }
    w.writeEndElement(); // moves

    w.writeEndElement(); // faunlet
}

bool Generator::write(QIODevice* device, int count)
{
    QXmlStreamWriter w(device);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(1);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("fauntome"));

    int id = 1;
    for (int familyIndex = 0; id <= count && !w.hasError(); ++familyIndex) {
        // Each family draws from its own stream, so earlier creatures do not
        // depend on how many follow.
        Rng r(mixSeed(m_seed, quint64(familyIndex) + 1));
        const Family f = makeFamily(familyIndex, count - id + 1, r);
        for (int i = 0; i < f.members.size(); ++i)
            writeMember(w, f, i, id++, r);
    }

    w.writeEndElement();
    w.writeEndDocument();
    return !w.hasError();
}

} // namespace

bool writeFile(const QString& path, int count, quint32 seed)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    Generator g(seed);
    if (!g.write(&file, std::max(0, count))) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QByteArray generate(int count, quint32 seed)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    Generator g(seed);
    g.write(&buffer, std::max(0, count));
    buffer.close();
    return out;
}

} // namespace faundatagen
