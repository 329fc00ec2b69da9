// The validator's copy of one port: the model object's description plus
// usage states, a width and three values of that width (current value,
// lower and upper bound of the legal values), and an optional explicit
// list of legal values.
//
// Invariants: the three value objects exist exactly while the width is set
// (m_current_port_width >= 0); while it is set, every value the port holds
// (the three and each entry of the value array) has exactly that width,
// whatever width a value handed to a setter had. The port owns its values
// and its value array; a copy of a port owns copies of its own.
//
// Exceptions (only std::bad_alloc): the copy constructor, assignment,
// set_current_port_width and set_port_value_array leave the port as it was
// (strong guarantee); every other operation allocates nothing that can
// leave the port half changed.
#ifndef KOVA_PORT_OBJ_H
#define KOVA_PORT_OBJ_H

#include <cstdint>
#include <memory>
#include <string>

#include "host/kova_info.h"
#include "host/nuvo_int.h"
#include "objects/kova_rules_export.h"

class KOVA_RULES_API KOVA_PORT_OBJ : public KOVA_OBJ_INFO {
public:
    explicit KOVA_PORT_OBJ(const KOVA_OBJ_INFO* model_object);
    KOVA_PORT_OBJ(const KOVA_PORT_OBJ& other);
    KOVA_PORT_OBJ& operator=(const KOVA_PORT_OBJ& other);
    ~KOVA_PORT_OBJ() override;

    int get_current_usage_state() const { return m_current_usage_state; }
    void set_current_usage_state(int state) { m_current_usage_state = state; }
    int get_alt_usage_state() const { return m_alt_usage_state; }
    void set_alt_usage_state(int state) { m_alt_usage_state = state; }

    // True in the states USED and CONSTANT.
    bool is_port_used() const;

    int get_current_port_width() const { return m_current_port_width; }
    // Stores the width and gives the port three new unknown values of it;
    // the entries of a value array take the new width too.
    void set_current_port_width(int width);
    // No width and no values.
    void reset_current_port_width();

    // The value objects; null while the width is not set. A value written
    // through these pointers must keep the port's width (the setters below
    // see to that).
    NUVO_UINTEGER* get_current_port_value() const { return m_current_port_value.get(); }
    NUVO_UINTEGER* get_min_port_value() const { return m_min_port_value.get(); }
    NUVO_UINTEGER* get_max_port_value() const { return m_max_port_value.get(); }

    // The low 32 bits of a value; 0xFFFFFFFF without a width.
    uint32_t get_current_port_value_as_integer() const;
    uint32_t get_min_port_value_as_integer() const;
    uint32_t get_max_port_value_as_integer() const;

    // A value in the given radix for the port width; "" without a width.
    std::string get_current_port_value_as_string(int radix) const;
    std::string get_min_port_value_as_string(int radix) const;
    std::string get_max_port_value_as_string(int radix) const;

    // Loaders. Without a width, or for a text that is not a number of the
    // radix, the value stays as it was.
    void set_current_port_value(const std::string& text, int radix);
    void set_min_port_value(const std::string& text, int radix);
    void set_max_port_value(const std::string& text, int radix);
    void set_current_port_value(int value);
    void set_min_port_value(int value);
    void set_max_port_value(int value);
    // Take the value (or its unknown state) at the port's width: a wider
    // value keeps its low bits, a narrower one is extended with zeros. The
    // current-value form also makes both bounds unknown. Without a width
    // nothing changes.
    void set_current_port_value(const NUVO_UINTEGER& value);
    void set_min_port_value(const NUVO_UINTEGER& value);
    void set_max_port_value(const NUVO_UINTEGER& value);

    // Current value and both bounds become unknown.
    void reset_port_values();

    // The explicit legal values: an array of values ended by a null entry,
    // or null. set_port_value_array takes over an array made with new[]
    // whose entries were made with new (its entries then take the port's
    // width) and releases the one held before, unless it is the same
    // array; should that fail, the port keeps its array and the handed
    // array is released.
    NUVO_UINTEGER** get_port_value_array() const { return m_port_value_array.get(); }
    void set_port_value_array(NUVO_UINTEGER** array);

    int m_current_usage_state = KOVA_USAGE_NONE;
    int m_alt_usage_state = KOVA_USAGE_NONE;

private:
    // Releases a null-ended value array and each of its entries.
    struct VALUE_ARRAY_RELEASE {
        void operator()(NUVO_UINTEGER** array) const;
    };
    using VALUE_ARRAY = std::unique_ptr<NUVO_UINTEGER*[], VALUE_ARRAY_RELEASE>;
    // Copies of the array's entries at width (their own width when width
    // is negative).
    static VALUE_ARRAY copy_of_array(NUVO_UINTEGER* const* array, int width);

    int m_current_port_width = -1;
    std::unique_ptr<NUVO_UINTEGER> m_current_port_value;
    std::unique_ptr<NUVO_UINTEGER> m_min_port_value;
    std::unique_ptr<NUVO_UINTEGER> m_max_port_value;
    VALUE_ARRAY m_port_value_array;
};

#endif
