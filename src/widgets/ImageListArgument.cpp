#include "ImageListArgument.h"

#include "VariantKey.h"
#include "IconList.h"

std::optional<IconList *> ImageListArgument::resolve(const QVariant &value)
{
    if (!value.isValid())
        return nullptr;
    if (value.metaType() == QMetaType::fromType<IconList *>())
        return value.value<IconList *>();
    if (VariantKey::isPosition(value))
        return IconList::fromHandle(value.value<qintptr>());
    return std::nullopt;
}
