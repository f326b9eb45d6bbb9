#pragma once

#include "model/Preferences.h"
#include "store/DewbellStore.h"

#include <QObject>
#include <functional>
#include <tuple>
#include <type_traits>

namespace PreferencePath {

template<typename Member>
struct MemberTraits;

template<typename Owner, typename Field>
struct MemberTraits<Field Owner::*> {
    using owner = Owner;
    using field = Field;
};

template<typename... Members>
using Last = std::tuple_element_t<sizeof...(Members) - 1, std::tuple<Members...>>;
template<typename... Members>
using First = std::tuple_element_t<0, std::tuple<Members...>>;

}  // namespace PreferencePath

// One field of the user's Preferences, reached by a path of member pointers
// (&Preferences::glassML, or &Preferences::breaks, &BreakPreferences::eyeEnabled). Reads go to
// the store's current preferences every time, so a control always shows the value after the
// store's clamping; writes go only through store->update(), which clamps, re-plans and saves.
// A write always reaches update(), also when the value did not change.
template<typename T>
class PreferenceBinding {
public:
    // Both lambdas fold the path: preferences.*first.*second… is the field.
    template<typename... Members>
    PreferenceBinding(DewbellStore* store, Members... path)
        : store_(store),
          read_([path...](const Preferences& preferences) -> T { return (preferences.*....*path); }),
          write_([path...](Preferences& preferences, const T& value) { (preferences.*....*path) = value; })
    {
        static_assert(std::is_same_v<typename PreferencePath::MemberTraits<PreferencePath::First<Members...>>::owner,
                                     Preferences>,
                      "a preference path starts at Preferences");
    }

    DewbellStore* store() const { return store_; }

    T read() const { return read_(store_->preferences()); }

    void write(const T& value) const
    {
        store_->update([write = write_, value](Preferences& preferences) { write(preferences, value); });
    }

    // Shows the stored value now and after every change the store publishes, for as long as
    // `receiver` lives. Showing must not write back.
    void follow(QObject* receiver, std::function<void(const T&)> show) const
    {
        show(read());
        QObject::connect(store_, &DewbellStore::changed, receiver,
                         [read = read_, store = store_, show] { show(read(store->preferences())); });
    }

private:
    DewbellStore* store_;
    std::function<T(const Preferences&)> read_;
    std::function<void(Preferences&, const T&)> write_;
};

// binding(store, &Preferences::recipient) is a PreferenceBinding<QString>.
template<typename... Members>
auto binding(DewbellStore* store, Members... path)
{
    using Field = typename PreferencePath::MemberTraits<PreferencePath::Last<Members...>>::field;
    return PreferenceBinding<Field>(store, path...);
}
