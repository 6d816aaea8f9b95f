# The completion functions; the build puts the word lists in front of them.

# Adds the words that begin with what is typed.
_liedkram_cli_offer()
{
    local word
    for word in "$@"; do
        [[ $word == "$cur"* ]] && COMPREPLY+=("$word")
    done
}

# Options whose value is the next word.
_liedkram_cli_takes_value()
{
    [[ $1 == --set || $1 == --list || $1 == --font ]]
}

_liedkram_cli()
{
    local cur prev words cword split
    _init_completion -s || return

    if ((cword == 1)); then
        if [[ $cur == -* ]]; then
            _liedkram_cli_offer "${_liedkram_cli_program_options[@]}"
        else
            _liedkram_cli_offer "${_liedkram_cli_commands[@]}"
        fi
        return
    fi
    local command=${words[1]}
    [[ -v "_liedkram_cli_options[$command]" ]] || return

    if [[ $split == true ]]; then
        case $prev in
            --rename) _liedkram_cli_offer "${_liedkram_cli_rename_answers[@]}" ;;
            --dup) _liedkram_cli_offer "${_liedkram_cli_dup_answers[@]}" ;;
        esac
        return
    fi

    # Where the typed word stands: the how-manieth argument that is no
    # option, after an option that takes a value, after "--".
    local i ended= list= position=0
    for ((i = 2; i < cword; i++)); do
        if [[ -z $ended && ${words[i]} == -- ]]; then
            ended=1
        elif [[ -z $ended && ${words[i]} == -* ]]; then
            [[ ${words[i]} == --list ]] && list=1
            _liedkram_cli_takes_value "${words[i]}" && ((i++))
        else
            ((position++))
        fi
    done
    if [[ -z $ended ]]; then
        case $prev in
            --set)
                local key
                for key in "${_liedkram_cli_settings[@]}"; do
                    [[ $key= == "$cur"* ]] && COMPREPLY+=("$key=")
                done
                compopt -o nospace
                return
                ;;
            --list)
                _filedir m3l
                return
                ;;
            --font) return ;;
        esac
        if [[ $cur == -* ]]; then
            local -a options
            read -ra options <<<"${_liedkram_cli_options[$command]}"
            _liedkram_cli_offer "${options[@]}"
            local offered
            for offered in "${COMPREPLY[@]}"; do
                [[ $offered == *= ]] && compopt -o nospace
            done
            return
        fi
    fi

    case $command in
        list | similar | find)
            ((position == 0)) && _filedir m3l
            ;;
        add | subtract)
            if ((position == 0)); then _filedir m3l; else _filedir; fi
            ;;
        sort)
            if ((position == 0)); then
                _filedir m3l
            elif ((position == 1)); then
                _liedkram_cli_offer "${_liedkram_cli_columns[@]}"
            fi
            ;;
        move)
            if ((position == 0)); then
                _filedir m3l
            elif ((position == 1)); then
                _filedir -d
            else
                _filedir
            fi
            ;;
        export)
            if ((position == 0)); then
                _liedkram_cli_offer "${_liedkram_cli_export_formats[@]}"
            elif ((position == 1)); then
                _filedir
            elif [[ -z $list ]]; then
                _filedir
            fi
            ;;
        cover)
            if ((position == 0)); then
                _filedir bmp
            elif [[ -z $list ]]; then
                _filedir
            fi
            ;;
        scan | fix | stats)
            [[ -z $list ]] && _filedir
            ;;
        settings)
            ((position == 0)) && _liedkram_cli_offer "${_liedkram_cli_settings[@]}"
            ;;
    esac
}
complete -F _liedkram_cli liedkram-cli
