#include "bench/FormGenerator.h"

#include <algorithm>
#include <cstdio>
#include <random>

namespace fw {

namespace {

// Visible properties of PUMP in the demo model, and its text keys.
const char* const PropertyNames[] = {
    "ARTNO",           "NAME",      "DESCRIPTION",   "MANUFACTURER", "PUMP_TYPE", "NOMINAL_DIAMETER",
    "PRESSURE_RATING", "FLOW_RATE", "DELIVERY_HEAD", "POWER_KW",     "SPEED_RPM", "MATERIAL",
    "WEIGHT_KG",       "STATUS",    "CREATED_BY",    "CREATED_AT"};
const char* const TextKeys[] = {"TXT_GENERAL_DATA", "TXT_TECHNICAL_DATA", "TXT_DOCUMENTS",
                                "TXT_DIMENSIONS",   "TXT_NOTES",          "TXT_IDENTIFICATION"};
const char* const ImageButtons[] = {"CatAttach", "DocOpen", "DocView", "GraphicHighlight", "ObjRelation"};
const char* const Colors[] = {"0,0,0", "255,0,0", "0,128,0", "0,0,255", "128,128,128"};

// Every element gets a cell of its own, so the form looks like a real one.
constexpr int CellWidth = 230;
constexpr int CellHeight = 45;
constexpr int Columns = 8;
// A form file holds no paper side, place or size beyond 32767: a form too
// large for eight columns gets more, and past that its cells are used again.
constexpr int LargestSide = 32767;
constexpr int MostColumns = (LargestSide - 20) / CellWidth;
constexpr int MostRows = (LargestSide - 20) / CellHeight;

class Generator {
public:
    Generator(int elements, unsigned seed) : m_elements(std::max(0, elements)), m_random(seed) {}

    std::string Run()
    {
        const int columns = std::clamp((m_elements + MostRows - 1) / MostRows, Columns, MostColumns);
        const int rows = std::min((m_elements + columns - 1) / columns, MostRows);
        m_out.reserve(static_cast<std::size_t>(m_elements) * 190 + 1024);
        m_out += "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\n"
                 "<?ORVANEX-application progid=\"Forms.OEF\" version=\"0.1\"?>\n"
                 "<FormDefinition>\n"
                 "  <Styles>\n"
                 "    <Style name=\"s1\" font=\"Arial\" size=\"12\" bold=\"true\" italic=\"false\" col=\"255,0,0\"/>\n"
                 "    <Style name=\"s2\" font=\"Tahoma\" size=\"9\" bold=\"true\" italic=\"false\" col=\"0,0,255\"/>\n"
                 "    <Style name=\"s3\" font=\"Calibri\" size=\"9\" bold=\"true\" italic=\"false\" col=\"0,0,0\"/>\n"
                 "    <Style name=\"s4\" font=\"Calibri\" size=\"9\" bold=\"false\" italic=\"true\" col=\"0,0,0\"/>\n"
                 "  </Styles>\n";
        const unsigned uuidHigh = static_cast<unsigned>(m_random());
        const unsigned uuidLow = static_cast<unsigned>(m_random());
        Printf("  <Dialog title=\"EDIT_PUMP\" size=\"%d,%d\" uuid=\"%08X-0000-4000-8000-%012X\">\n",
               columns * CellWidth + 20, rows * CellHeight + 20, uuidHigh, uuidLow);
        m_out += "    <Controls>\n";
        for (int i = 0; i < m_elements; ++i) {
            const int cell = i % (columns * rows);
            Element(i, 10 + (cell % columns) * CellWidth, 10 + (cell / columns) * CellHeight);
        }
        m_out += "    </Controls>\n  </Dialog>\n</FormDefinition>\n";
        return std::move(m_out);
    }

    int Count() const { return m_count; }

private:
    template <typename... Args> void Printf(const char* format, Args... args)
    {
        char buffer[512];
        int n = std::snprintf(buffer, sizeof buffer, format, args...);
        m_out.append(buffer, static_cast<std::size_t>(std::clamp(n, 0, static_cast<int>(sizeof buffer) - 1)));
    }

    // Draws are made one per statement, so the text does not depend on the
    // order a compiler evaluates arguments in.
    unsigned Next(unsigned n) { return static_cast<unsigned>(m_random() % n); }
    template <std::size_t N> const char* Pick(const char* const (&list)[N]) { return list[Next(N)]; }
    const char* Style() { return Pick(StyleNames); }

    void Layout()
    {
        // Some elements grow or move with the dialog.
        if (Next(4) == 0) {
            unsigned x = Next(101);
            unsigned y = Next(101);
            Printf(" sizing=\"%u,%u\"", x, y);
        }
        if (Next(6) == 0) {
            unsigned x = Next(101);
            Printf(" moving=\"%u,0\"", x);
        }
    }

    void Element(int index, int x, int y)
    {
        ++m_count;
        const unsigned kind = Next(100);
        if (kind < 35)
            Property(x, y);
        else if (kind < 55)
            Text(x, y);
        else if (kind < 62)
            Image(index, x, y);
        else if (kind < 70)
            Command(x, y);
        else if (kind < 75)
            Table(x, y);
        else if (kind < 85)
            Shape("Line", x, y);
        else if (kind < 93)
            Shape("Rectangle", x, y);
        else
            Shape("Ellipse", x, y);
    }

    void Property(int x, int y)
    {
        const bool caption = Next(4) != 0;
        const char* name = Pick(PropertyNames);
        const unsigned width = 100 + Next(30);
        Printf("      <Property name=\"%s\" pos=\"%d,%d\" size=\"%u,22\"", name, caption ? x + 95 : x, y, width);
        if (caption) {
            ++m_count;
            Printf(" labelPos=\"%d,%d\" labelSize=\"90,18\"", x, y + 2);
        }
        if (Next(3) == 0)
            m_out += " mandatory=\"yes\"";
        if (Next(5) == 0)
            m_out += " readOnly=\"true\"";
        if (Next(7) == 0)
            m_out += " multiline=\"yes\"";
        if (caption)
            Printf(" style=\"%s\"", Style());
        if (Next(5) == 0)
            m_out += " validationRule=\"[0-9]+,NUMBER\" validationMessage=\"Only digits &amp; no &lt;signs&gt;\"";
        Printf(" tabOrder=\"%d\"", m_tabOrder++);
        Layout();
        if (caption && Next(5) == 0)
            m_out += " labelMoving=\"0,50\"";
        m_out += "/>\n";
    }

    void Text(int x, int y)
    {
        const unsigned width = 120 + Next(100);
        const char* style = Style();
        Printf("      <Text pos=\"%d,%d\" size=\"%u,18\" style=\"%s\"", x, y, width, style);
        Layout();
        Printf(">%s</Text>\n", Pick(TextKeys));
    }

    void Image(int index, int x, int y)
    {
        const unsigned width = 32 + Next(64);
        const unsigned height = 16 + Next(20);
        Printf("      <Image pos=\"%d,%d\" size=\"%u,%u\"", x, y, width, height);
        if (Next(2) == 0)
            Printf(" transColor=\"%s\"", Pick(Colors));
        Layout();
        Printf(">picture-%d.png</Image>\n", index % 50);
    }

    void Command(int x, int y)
    {
        const unsigned kind = Next(4);
        const unsigned number = Next(100);
        if (kind == 0)
            Printf("      <Command pos=\"%d,%d\" id=\"ChangeTblQuery\" text=\"Show all\" size=\"110,24\" "
                   "tableId=\"T%u\" tableQuery=\"status = 1\" tableSort=\"name\" tableContext=\"\" "
                   "pushed=\"false\" tooltip=\"Changes the query\" helpText=\"\"/>\n",
                   x, y, number);
        else if (kind == 1)
            Printf("      <Command pos=\"%d,%d\" id=\"Report\" text=\"Print report\" size=\"120,24\" "
                   "template=\"reports/pump-%u.rpt\" language=\"1\" background=\"true\" tooltip=\"\" "
                   "helpText=\"\"/>\n",
                   x, y, number);
        else
            Printf("      <Command pos=\"%d,%d\" id=\"%s\"/>\n", x, y, Pick(ImageButtons));
    }

    void Table(int x, int y)
    {
        const unsigned width = 150 + Next(70);
        const unsigned resizeX = Next(101);
        const unsigned resizeY = Next(101);
        const unsigned number = Next(100);
        Printf("      <Table pos=\"%d,%d\" size=\"%u,40\" resize=\"%u,%u\" allowDrop=\"true\" dropFilter=\"\" "
               "enableDoubleClick=\"false\" enableDelete=\"true\" query=\"owner = ?\" tableId=\"DOCS%u\" "
               "context=\"pump\"",
               x, y, width, resizeX, resizeY, number);
        Layout();
        m_out += "/>\n";
    }

    void Shape(const char* name, int x, int y)
    {
        const unsigned width = 20 + Next(180);
        const unsigned height = 1 + Next(38);
        const char* color = Pick(Colors);
        const unsigned lineWidth = 1 + Next(3);
        Printf("      <%s pos=\"%d,%d\" size=\"%u,%u\" linecolor=\"%s\" linewidth=\"%u.0\"", name, x, y, width, height,
               color, lineWidth);
        if (name[0] == 'L')
            Printf(" quadrant=\"%u\"", Next(4));
        else
            Printf(" fillcolor=\"%s\"", Pick(Colors));
        if (name[0] == 'R')
            Printf(" cornerradius=\"%u.0\"", Next(8));
        Layout();
        m_out += "/>\n";
    }

    static constexpr const char* StyleNames[] = {"s1", "s2", "s3", "s4"};

    int m_elements;
    std::mt19937 m_random;
    std::string m_out;
    int m_count = 0;
    int m_tabOrder = 0;
};

}  // namespace

std::string GenerateFormFile(int elements, unsigned seed)
{
    return Generator(elements, seed).Run();
}

int GeneratedFormElementCount(int elements, unsigned seed)
{
    Generator generator(elements, seed);
    generator.Run();
    return generator.Count();
}

}  // namespace fw
