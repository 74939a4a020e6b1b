#include "refhost/scene_file.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

const char* const guide_name = "#Kelvaro_Guide";

std::string float_text(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", double(value));
    return text;
}

std::string hex_of(const SimStreamBytes& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (uint8_t b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text.empty() ? "-" : text;
}

bool bytes_of(const std::string& hex, SimStreamBytes* out)
{
    out->clear();
    if (hex == "-")
        return true;
    if (hex.size() % 2 != 0)
        return false;
    for (size_t i = 0; i < hex.size(); i += 2) {
        unsigned value = 0;
        if (std::sscanf(hex.substr(i, 2).c_str(), "%2x", &value) != 1)
            return false;
        out->push_back(static_cast<uint8_t>(value));
    }
    return true;
}

int depth_of(const SimShape& shape)
{
    int depth = 0;
    for (const SimShape* s = shape.parent(); s != nullptr && s->parent() != nullptr; s = s->parent())
        ++depth;
    return depth;
}

bool inside_guide(const SimShape& shape)
{
    for (const SimShape* s = &shape; s != nullptr; s = s->parent()) {
        if (s->name() == guide_name)
            return true;
    }
    return false;
}

void write_shape(std::ostream& out, SimShape& shape)
{
    const int depth = depth_of(shape);
    if (shape.is_ball_joint())
        out << "joint " << depth << ' ' << shape.name() << '\n';
    else if (shape.is_part())
        out << "part " << depth << ' ' << shape.part_kind() << ' ' << shape.name() << '\n';
    else
        out << "shape " << depth << ' ' << shape.kind() << ' ' << shape.name() << '\n';

    if (shape.is_part()) {
        static const Matrix4 identity(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
        const Matrix4& m = shape.transformation();
        bool is_identity = true;
        for (int i = 0; i < 16; ++i)
            is_identity = is_identity && m[i] == identity[i];
        if (!is_identity) {
            out << "transformation";
            for (int i = 0; i < 16; ++i)
                out << ' ' << float_text(m[i]);
            out << '\n';
        }
        if (shape.has_part_option())
            out << "part_option " << shape.part_option() << '\n';
    }
    if (shape.is_ball_joint()) {
        const Vector3& c = shape.center();
        const Quaternion& q = shape.rotation();
        out << "center " << float_text(c.x) << ' ' << float_text(c.y) << ' ' << float_text(c.z) << '\n';
        out << "rotation " << float_text(q.w) << ' ' << float_text(q.x) << ' ' << float_text(q.y) << ' '
            << float_text(q.z) << '\n';
        if (!shape.motion_enabled())
            out << "motion 0\n";
        for (const SimMotionKey& key : shape.keys()) {
            out << "key " << float_text(key.time) << ' ' << float_text(key.rotation.w) << ' '
                << float_text(key.rotation.x) << ' ' << float_text(key.rotation.y) << ' '
                << float_text(key.rotation.z) << '\n';
        }
    }
    if (shape.is_line()) {
        out << "line_option " << shape.line_option() << '\n';
        for (const SimPoint& p : shape.points()) {
            out << "point";
            for (const Vector3* v : {&p.position, &p.in_handle, &p.out_handle, &p.side_in_handle, &p.side_out_handle})
                out << ' ' << float_text(v->x) << ' ' << float_text(v->y) << ' ' << float_text(v->z);
            out << '\n';
        }
        if (shape.has_color()) {
            const Vector3& c = shape.color();
            out << "color " << float_text(c.x) << ' ' << float_text(c.y) << ' ' << float_text(c.z) << '\n';
        }
    }
    for (int32_t key : shape.stream_keys())
        out << "stream " << key << ' ' << hex_of(shape.stream_bytes(key)) << '\n';
}

// The rest of the line after the words already read, without the blank before it.
std::string rest_of(std::istringstream& in)
{
    std::string rest;
    std::getline(in, rest);
    const size_t start = rest.find_first_not_of(" \t");
    return start == std::string::npos ? std::string() : rest.substr(start);
}

template <size_t N>
bool read_floats(std::istringstream& in, float (&values)[N])
{
    for (float& v : values) {
        if (!(in >> v))
            return false;
    }
    return true;
}

}  // namespace

bool save_scene_file(SimScene& scene, const std::string& path, std::string* error)
{
    std::ostringstream out;
    out << "kelvaro-scene 1\n";
    out << "size_unit " << float_text(scene.size_unit()) << '\n';
    out << "time " << float_text(scene.current_time()) << '\n';
    for (SimShape* shape : scene.shapes()) {
        if (!inside_guide(*shape))
            write_shape(out, *shape);
    }
    for (SimShape* shape : scene.selection()) {
        if (!inside_guide(*shape))
            out << "select " << shape->name() << '\n';
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << out.str();
    file.close();
    if (!file) {
        if (error != nullptr)
            *error = "cannot write " + path;
        return false;
    }
    return true;
}

bool load_scene_file(SimScene& scene, const std::string& path, std::string* error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        if (error != nullptr)
            *error = "cannot open " + path;
        return false;
    }
    std::vector<SimShape*> open_parts;  // by depth
    SimShape* current = nullptr;
    std::vector<SimShape*> selection;
    std::string line;
    int number = 0;
    bool header = false;
    auto fail = [&](const std::string& why) {
        if (error != nullptr)
            *error = path + ":" + std::to_string(number) + ": " + why;
        return false;
    };
    while (std::getline(file, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream in(line);
        std::string word;
        in >> word;
        if (!header) {
            int version = 0;
            if (word != "kelvaro-scene" || !(in >> version) || version != 1)
                return fail("not a scene file of this host");
            header = true;
            continue;
        }
        if (word == "part" || word == "joint" || word == "shape") {
            int depth = -1, kind = 0;
            if (!(in >> depth) || depth < 0 || depth > static_cast<int>(open_parts.size()))
                return fail("a shape without a parent part");
            if (word != "joint" && !(in >> kind))
                return fail("a shape without its kind");
            const std::string name = rest_of(in);
            if (name.empty())
                return fail("a shape without a name");
            SimShape* parent = depth == 0 ? nullptr : open_parts[depth - 1];
            if (word == "joint")
                current = &scene.add_ball_joint(name, parent);
            else if (word == "part")
                current = &scene.add_part(name, kind, parent);
            else
                current = &scene.add_shape(name, kind, parent);
            open_parts.resize(depth);
            if (current->is_part())
                open_parts.push_back(current);
            continue;
        }
        if (word == "size_unit" || word == "time") {
            float value = 0;
            if (!(in >> value))
                return fail("no number after " + word);
            if (word == "size_unit")
                scene.set_size_unit(value);
            else
                scene.set_current_time(value);
            continue;
        }
        if (word == "select") {
            SimShape* shape = scene.find(rest_of(in));
            if (shape == nullptr)
                return fail("selects a shape that is not there");
            selection.push_back(shape);
            continue;
        }
        if (current == nullptr)
            return fail("'" + word + "' before any shape");
        if (word == "center") {
            float v[3];
            if (!read_floats(in, v) || !current->is_ball_joint())
                return fail("a centre needs a joint and three numbers");
            current->set_center(Vector3(v[0], v[1], v[2]));
        } else if (word == "rotation") {
            float v[4];
            if (!read_floats(in, v) || !current->is_ball_joint())
                return fail("a rotation needs a joint and four numbers");
            current->set_rotation(Quaternion(v[0], v[1], v[2], v[3]));
        } else if (word == "key") {
            float v[5];
            if (!read_floats(in, v) || !current->is_ball_joint())
                return fail("a key needs a joint and five numbers");
            current->add_key(v[0], Quaternion(v[1], v[2], v[3], v[4]));
        } else if (word == "motion") {
            int on = 1;
            if (!(in >> on) || !current->is_ball_joint())
                return fail("motion needs a joint and 0 or 1");
            current->set_motion_enabled(on != 0);
        } else if (word == "transformation") {
            float v[16];
            if (!read_floats(in, v) || !current->is_part())
                return fail("a transformation needs a part and sixteen numbers");
            Matrix4 m;
            for (int i = 0; i < 16; ++i)
                m[i] = v[i];
            current->set_transformation(m);
        } else if (word == "part_option") {
            int option = 0;
            if (!(in >> option) || !current->is_part())
                return fail("a part option needs a part and a number");
            current->set_part_option(option);
        } else if (word == "line_option") {
            int option = 0;
            if (!(in >> option))
                return fail("no number after line_option");
            current->set_line_option(option);
        } else if (word == "point") {
            float v[15];
            if (!read_floats(in, v))
                return fail("a point needs fifteen numbers");
            SimPoint p;
            Vector3* parts[] = {&p.position, &p.in_handle, &p.out_handle, &p.side_in_handle, &p.side_out_handle};
            for (int i = 0; i < 5; ++i)
                *parts[i] = Vector3(v[3 * i], v[3 * i + 1], v[3 * i + 2]);
            current->add_point(p);
        } else if (word == "color") {
            float v[3];
            if (!read_floats(in, v))
                return fail("a colour needs three numbers");
            current->set_color(Vector3(v[0], v[1], v[2]));
        } else if (word == "stream") {
            int32_t key = 0;
            std::string hex;
            SimStreamBytes bytes;
            if (!(in >> key >> hex) || !bytes_of(hex, &bytes))
                return fail("a stream needs a key and its bytes in hex");
            current->set_stream_bytes(key, bytes);
        } else {
            return fail("unknown word '" + word + "'");
        }
    }
    if (!header)
        return fail("empty file");
    scene.select(selection);
    return true;
}
